#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelpa {

namespace platform {
struct Image;
}

using Info = std::optional<std::string>;

// (code, info text or none): 0 is success; on failure the service's "info".
using StatusHandler = std::function<void(std::int32_t code, Info info)>;

template <class T>
using RecordList = std::vector<std::shared_ptr<T>>;

// (records or none, error text or none)
template <class T>
using ListHandler = std::function<void(std::optional<RecordList<T>> list, Info error)>;

// (record or none, error text or none)
template <class T>
using RecordHandler = std::function<void(std::shared_ptr<T> record, Info error)>;

using ImagePtr = std::shared_ptr<const platform::Image>;
using ImageHandler = std::function<void(ImagePtr image)>;
using ImageErrorHandler = std::function<void(ImagePtr image, Info error)>;

}  // namespace kelpa

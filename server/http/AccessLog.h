#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace kelpa::server {

// One JSON line per request: time, peer, method, path, action, HTTP status, reply code and
// latency in microseconds. Written to a file, standard error, or nowhere.
class AccessLog {
public:
    struct Entry {
        std::string peer;
        std::string method;
        std::string path;
        int action = 0;
        int status = 0;
        int code = -1;
        long long micros = 0;
    };

    explicit AccessLog(const std::string& destination);  // "-" is stderr, "off" is none
    ~AccessLog();
    AccessLog(const AccessLog&) = delete;
    AccessLog& operator=(const AccessLog&) = delete;

    void write(const Entry& entry);

private:
    std::FILE* file_ = nullptr;
    bool owned_ = false;
    std::mutex mutex_;
};

}  // namespace kelpa::server

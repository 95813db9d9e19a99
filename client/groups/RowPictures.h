#pragma once

#include "platform/ui/TableViewCell.h"

#include <map>
#include <memory>

namespace kelpa {

class User;

// The profile pictures of a table whose rows show users. A picture comes later than its row,
// and tables reuse their cells, so a picture lands only in a cell that still shows its user:
// otherwise a late picture would put one person's face next to another's name.
class RowPictures : public std::enable_shared_from_this<RowPictures> {
public:
    static std::shared_ptr<RowPictures> make() { return std::make_shared<RowPictures>(); }

    // Shows the picture held for `user` at once (none while there is none) and asks the
    // service for the current one.
    void show(const std::shared_ptr<platform::ui::TableViewCell>& cell, const std::shared_ptr<User>& user);

private:
    std::map<const platform::ui::TableViewCell*, std::weak_ptr<User>> shown_;
};

}  // namespace kelpa

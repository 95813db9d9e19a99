#include "client/groups/RowPictures.h"

#include "client/model/User.h"

namespace kelpa {

void RowPictures::show(const std::shared_ptr<platform::ui::TableViewCell>& cell, const std::shared_ptr<User>& user) {
    if (!cell) return;
    shown_[cell.get()] = user;
    cell->imageView().setImage(user ? user->profileImage : nullptr);
    if (!user) return;
    user->getProfileImageFromAPIWithCompletitionHandler(
        [weak = weak_from_this(), weakCell = std::weak_ptr(cell), weakUser = std::weak_ptr(user)](ImagePtr image) {
            auto self = weak.lock();
            auto target = weakCell.lock();
            auto owner = weakUser.lock();
            if (!self || !target || !owner) return;
            auto it = self->shown_.find(target.get());
            if (it == self->shown_.end() || it->second.lock() != owner) return;
            target->imageView().setImage(std::move(image));
            target->setNeedsLayout();
        });
}

}  // namespace kelpa

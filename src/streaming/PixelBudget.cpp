#include "streaming/PixelBudget.h"

#include <algorithm>
#include <utility>

#include "streaming/Errors.h"

namespace trovelin {

void PixelCharge::release()
{
    if (!account_) return;
    account_->used -= bytes_;
    holder_->used -= bytes_;
}

PixelCharge::~PixelCharge() { release(); }

PixelCharge::PixelCharge(PixelCharge&& other) noexcept
    : account_(std::move(other.account_)), holder_(std::move(other.holder_)), bytes_(std::exchange(other.bytes_, 0))
{
}

PixelCharge& PixelCharge::operator=(PixelCharge&& other) noexcept
{
    if (this != &other) {
        release();
        account_ = std::move(other.account_);
        holder_ = std::move(other.holder_);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

PixelBudget::PixelBudget(std::uint64_t limitBytes) : PixelBudget(std::make_shared<PixelCharge::Account>())
{
    account_->limit = limitBytes;
}

PixelBudget::PixelBudget(std::shared_ptr<PixelCharge::Account> account)
    : account_(std::move(account)), holder_(std::make_shared<PixelCharge::Holder>())
{
    std::lock_guard lock(account_->holdersMutex);
    std::erase_if(account_->holders, [](const std::weak_ptr<PixelCharge::Holder>& holder) { return holder.expired(); });
    account_->holders.push_back(holder_);
}

PixelBudget PixelBudget::forAnotherHolder() const { return PixelBudget(account_); }

PixelCharge PixelBudget::charge(std::uint64_t bytes)
{
    std::uint64_t used = account_->used;
    do {
        if (bytes > account_->limit || used > account_->limit - bytes) refuse(bytes, used);
    } while (!account_->used.compare_exchange_weak(used, used + bytes));
    holder_->used += bytes;
    return PixelCharge(account_, holder_, bytes);
}

void PixelBudget::refuse(std::uint64_t bytes, std::uint64_t used) const
{
    std::uint64_t heldByOthers = 0;
    int otherHolders = 0;
    {
        std::lock_guard lock(account_->holdersMutex);
        for (const std::weak_ptr<PixelCharge::Holder>& weak : account_->holders) {
            const std::shared_ptr<PixelCharge::Holder> holder = weak.lock();
            if (!holder || holder == holder_ || holder->used == 0) continue;
            heldByOthers += holder->used;
            ++otherHolders;
        }
    }
    if (heldByOthers == 0) throw EOutOfMemory(bytes, account_->limit);
    throw EOutOfMemory(bytes, account_->limit - std::min<std::uint64_t>(used, account_->limit), heldByOthers,
                       otherHolders);
}

}  // namespace trovelin

#include "streaming/PixelBudget.h"

#include <utility>

#include "streaming/Errors.h"

namespace trovelin {

PixelCharge::~PixelCharge()
{
    if (account_) account_->used -= bytes_;
}

PixelCharge::PixelCharge(PixelCharge&& other) noexcept
    : account_(std::move(other.account_)), bytes_(std::exchange(other.bytes_, 0))
{
}

PixelCharge& PixelCharge::operator=(PixelCharge&& other) noexcept
{
    if (this != &other) {
        if (account_) account_->used -= bytes_;
        account_ = std::move(other.account_);
        bytes_ = std::exchange(other.bytes_, 0);
    }
    return *this;
}

PixelBudget::PixelBudget(std::uint64_t limitBytes) : account_(std::make_shared<PixelCharge::Account>())
{
    account_->limit = limitBytes;
}

PixelCharge PixelBudget::charge(std::uint64_t bytes)
{
    std::uint64_t used = account_->used;
    do {
        if (bytes > account_->limit || used > account_->limit - bytes) throw EOutOfMemory(bytes, account_->limit);
    } while (!account_->used.compare_exchange_weak(used, used + bytes));
    return PixelCharge(account_, bytes);
}

}  // namespace trovelin

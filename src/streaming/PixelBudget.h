#pragma once
// A bound on the decoded pixel storage alive at once. Each decoded image holds a charge for
// its bytes until it is freed, so a small file that declares huge pictures stops with the
// framework's "Out of memory" error long before it takes the machine's memory.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace trovelin {

class PixelBudget;

// Bytes charged to a budget until the charge is dropped; the budget may go first.
class PixelCharge {
public:
    PixelCharge() = default;
    ~PixelCharge();
    PixelCharge(PixelCharge&& other) noexcept;
    PixelCharge& operator=(PixelCharge&& other) noexcept;

private:
    friend class PixelBudget;
    // What one holder of a shared budget (a file loading beside others) has charged.
    struct Holder {
        std::atomic<std::uint64_t> used{0};
    };
    struct Account {
        std::atomic<std::uint64_t> used{0};
        std::atomic<std::uint64_t> limit{0};
        std::mutex holdersMutex;
        std::vector<std::weak_ptr<Holder>> holders;
    };
    PixelCharge(std::shared_ptr<Account> account, std::shared_ptr<Holder> holder, std::uint64_t bytes)
        : account_(std::move(account)), holder_(std::move(holder)), bytes_(bytes) {}
    void release();

    std::shared_ptr<Account> account_;
    std::shared_ptr<Holder> holder_;
    std::uint64_t bytes_ = 0;
};

class PixelBudget {
public:
    explicit PixelBudget(std::uint64_t limitBytes);
    // The same budget for another holder: each file of a run that loads several at once charges
    // its own, and a picture that does not fit says what the others hold.
    PixelBudget forAnotherHolder() const;

    std::uint64_t limit() const { return account_->limit; }
    void setLimit(std::uint64_t limitBytes) { account_->limit = limitBytes; }
    std::uint64_t used() const { return account_->used; }

    // Charges `bytes`; fails with "Out of memory" when that would pass the limit.
    PixelCharge charge(std::uint64_t bytes);

private:
    PixelBudget(std::shared_ptr<PixelCharge::Account> account);
    [[noreturn]] void refuse(std::uint64_t bytes, std::uint64_t used) const;

    std::shared_ptr<PixelCharge::Account> account_;
    std::shared_ptr<PixelCharge::Holder> holder_;
};

}  // namespace trovelin

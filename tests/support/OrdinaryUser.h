#pragma once
// Runs a piece of a test as an ordinary user: the superuser may read, write and enter anything,
// so checks of permissions run in a child process that drops to "nobody" first.

#include <functional>

namespace trovelin::testing {

// The user id of "nobody", whom the child becomes when the test runs as the superuser.
inline constexpr unsigned ordinaryUserId = 65534;

// `check` runs in a forked child (as "nobody" when the test runs as the superuser, else as the
// test's own user) and its result is the child's exit status: 0 for success. -1 when the child
// could not be made, changed user or did not exit normally.
int runAsOrdinaryUser(const std::function<int()>& check);

}  // namespace trovelin::testing

#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <vector>

namespace orvane::testing {

// The user that permission tests run as: "nobody" (65534) when the tests run
// as root, as CI does, otherwise the user running them.
struct TestUser {
    uid_t uid;
    gid_t gid;
};
TestUser unprivilegedUser();

// Gives a file or folder to that user, so that a child running as them may
// use it (a scratch folder is its creator's alone).
void giveToUnprivilegedUser(const std::filesystem::path& path);

// Runs body in a forked child and reports there, in the calling test, each of
// its failed assertions, an exception that escaped it, a crash, or a hang of
// more than a minute. The child ends without running any destructor of the
// test, so the parent's scratch folders stay its own to remove.
void runInChild(const std::function<void()>& body);

// The same as the unprivileged user, with extraGroups as its only
// supplementary groups.
void runAsUnprivilegedUser(const std::function<void()>& body,
                           const std::vector<gid_t>& extraGroups = {});

}  // namespace orvane::testing

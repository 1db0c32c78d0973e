// Processes on POSIX: posix_spawn, which reports a program that cannot run as an error of its own,
// and execv.
#include "platform/process.h"

#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vastorim::platform {
namespace {

// argv for `program`: its own path first, then the arguments, then the null that ends it.
std::vector<char*> argumentVector(const std::string& program,
                                  const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    return argv;
}

} // namespace

bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                   const std::string& folder, std::string& problem) {
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<char*> argv = argumentVector(program, arguments);
    pid_t child = 0;
    const int error =
        posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        problem = std::strerror(error);
    }
    return error == 0;
}

std::string becomeProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& folder) {
    if (chdir(folder.c_str()) != 0) {
        return folder + ": " + std::strerror(errno);
    }
    std::vector<char*> argv = argumentVector(program, arguments);
    execv(program.c_str(), argv.data());
    return program + ": " + std::strerror(errno);
}

} // namespace vastorim::platform

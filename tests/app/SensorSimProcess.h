#pragma once
// tools/sensor-sim as a child process of a test.

#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <csignal>

extern char** environ;

// sensor-sim running with the given options; Path is its pseudo-terminal.
// Its standard error goes to ErrorFile when one is named.
class TSensorSim {
  public:
    explicit TSensorSim(std::vector<std::string> Options, const std::string& ErrorFile = "") {
        int Out[2];
        if (pipe(Out) != 0)
            throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_adddup2(&Actions, Out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&Actions, Out[0]);
        if (!ErrorFile.empty())
            posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, ErrorFile.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        Options.insert(Options.begin(), SENSOR_SIM);
        std::vector<char*> Argv;
        for (std::string& O : Options)
            Argv.push_back(O.data());
        Argv.push_back(nullptr);
        int Failed = posix_spawn(&FPid, SENSOR_SIM, &Actions, nullptr, Argv.data(), environ);
        posix_spawn_file_actions_destroy(&Actions);
        close(Out[1]);
        if (Failed != 0)
            throw std::runtime_error("cannot start sensor-sim");
        char C;
        while (read(Out[0], &C, 1) == 1 && C != '\n')
            Path += C;
        close(Out[0]);
    }
    ~TSensorSim() {
        kill(FPid, SIGTERM);
        waitpid(FPid, nullptr, 0);
    }
    std::string Path;

  private:
    pid_t FPid = -1;
};

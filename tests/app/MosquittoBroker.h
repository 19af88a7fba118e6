#pragma once
// A real Mosquitto broker on a free loopback port, with its own small
// configuration and its stored sessions in a folder of the caller; and a
// child process of the tests.

#include "tests/app/LoopbackPort.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

// A program started with Arguments (the first names it); its standard
// output and error go to the files named, or stay the caller's.
class TChildProcess {
  public:
    TChildProcess(std::vector<std::string> Arguments, const std::string& OutFile = "",
                  const std::string& ErrFile = "") {
        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        if (!OutFile.empty())
            posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, OutFile.c_str(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (!ErrFile.empty())
            posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, ErrFile.c_str(),
                                             O_WRONLY | O_CREAT | O_APPEND, 0600);
        std::vector<char*> Argv;
        for (std::string& A : Arguments)
            Argv.push_back(A.data());
        Argv.push_back(nullptr);
        const int Failed = posix_spawn(&FPid, Argv[0], &Actions, nullptr, Argv.data(), environ);
        posix_spawn_file_actions_destroy(&Actions);
        if (Failed != 0)
            throw std::runtime_error("cannot start " + Arguments[0]);
    }
    ~TChildProcess() {
        if (FPid > 0) {
            kill(FPid, SIGKILL);
            waitpid(FPid, nullptr, 0);
        }
    }
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;

    void Signal(int Number) { kill(FPid, Number); }
    // The exit code, or 128 + the signal that ended it.
    int Wait() {
        int Status = 0;
        waitpid(FPid, &Status, 0);
        FPid = -1;
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : 128 + WTERMSIG(Status);
    }

  private:
    pid_t FPid = -1;
};

class TMosquittoBroker {
  public:
    // Dir must exist; the broker keeps its configuration, log and stored
    // sessions there, so that a restarted broker has them again.
    // More lines of configuration (another listener) may follow.
    TMosquittoBroker(const std::string& Dir, int Port = FreeLoopbackPort(),
                     const std::string& MoreConfig = "")
        : FDir(Dir), FPort(Port) {
        std::ofstream(Conf()) << "listener " << Port << " 127.0.0.1\n"
                              << "allow_anonymous true\n"
                              << "persistence true\n"
                              << "persistence_location " << Dir << "/\n"
                              << "max_queued_messages 0\n"
                              // As root it would change to its own user, who
                              // cannot write in the caller's folder.
                              << "user root\n"
                              << MoreConfig;
        Start();
    }

    int Port() const { return FPort; }
    std::string Url() const { return "mqtt://127.0.0.1:" + std::to_string(FPort); }

    void Start() {
        FProcess =
            std::make_unique<TChildProcess>(std::vector<std::string>{MOSQUITTO, "-c", Conf()},
                                            FDir + "/broker.log", FDir + "/broker.log");
        for (int I = 0; I < 100 && !PortAccepts(FPort); ++I)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!PortAccepts(FPort))
            throw std::runtime_error("the broker does not listen on " + std::to_string(FPort));
    }
    // As an administrator stops it: the broker stores its sessions.
    void Stop() {
        FProcess->Signal(SIGTERM);
        FProcess->Wait();
        FProcess.reset();
    }

  private:
    std::string Conf() const { return FDir + "/mosquitto.conf"; }

    std::string FDir;
    int FPort;
    std::unique_ptr<TChildProcess> FProcess;
};

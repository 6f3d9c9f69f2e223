#pragma once
// Several kelvane-sim processes at once, as the peers of a network game on loopback:
// each with its own work folder, output files and game folder; every wait has a limit,
// and whatever still runs at the end is killed.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SimRunner.h"
#include "TempGameDir.h"

namespace kelvane::testing {

struct NetPeer {
    std::string Name;
    std::string Dir;  // its work folder: scenario, dump, recording, output
    pid_t Pid = -1;
    int ExitCode = -1;
    std::string Out() const { return ReadText(Dir + "/out.txt"); }
    std::string Err() const { return ReadText(Dir + "/err.txt"); }
    std::string File(const std::string& name) const { return Dir + "/" + name; }
};

class NetPeers {
public:
    explicit NetPeers(const std::string& root) : root_(root) {}
    ~NetPeers() {
        for (NetPeer& peer : peers_)
            if (peer.Pid > 0) {
                kill(peer.Pid, SIGKILL);
                waitpid(peer.Pid, nullptr, 0);
            }
    }
    NetPeers(const NetPeers&) = delete;
    NetPeers& operator=(const NetPeers&) = delete;

    // Starts kelvane-sim with the arguments, in the peer's own folder and game folder.
    NetPeer& Start(const std::string& name, std::vector<std::string> arguments) {
        NetPeer peer;
        peer.Name = name;
        peer.Dir = root_ + "/" + name;
        std::filesystem::create_directories(peer.Dir);
        games_.push_back(std::make_unique<TempGameDir>());
        arguments.insert(arguments.begin(), {"--data", games_.back()->Path()});
        peer.Pid = fork();
        if (peer.Pid == 0) {
            if (!std::freopen((peer.Dir + "/out.txt").c_str(), "w", stdout) ||
                !std::freopen((peer.Dir + "/err.txt").c_str(), "w", stderr))
                std::_Exit(126);
            setenv("XDG_DATA_HOME", (peer.Dir + "/xdg-data").c_str(), 1);
            setenv("XDG_CACHE_HOME", (peer.Dir + "/xdg-cache").c_str(), 1);
            std::vector<char*> argv;
            const std::string program = KELVANE_SIM;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (std::string& argument : arguments) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
            std::_Exit(127);
        }
        peers_.push_back(peer);
        return peers_.back();
    }

    // The address a host started with "--host 127.0.0.1:0" listens on, once it says so.
    std::string HostAddress(const NetPeer& host, int waitMs = 10000) const {
        const std::string mark = "hosting on ";
        for (int waited = 0; waited < waitMs; waited += 20) {
            const std::string err = host.Err();
            const size_t at = err.find(mark);
            if (at != std::string::npos) {
                const size_t end = err.find(' ', at + mark.size());
                if (end != std::string::npos) return err.substr(at + mark.size(), end - at - mark.size());
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {};
    }

    // Waits for every peer to end, killing those still running after the limit.
    void Wait(int limitMs = 120000) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
        for (NetPeer& peer : peers_) {
            while (peer.Pid > 0) {
                int status = 0;
                const pid_t ended = waitpid(peer.Pid, &status, WNOHANG);
                if (ended == peer.Pid) {
                    peer.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                    peer.Pid = -1;
                } else if (std::chrono::steady_clock::now() > until) {
                    kill(peer.Pid, SIGKILL);
                } else {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
            }
        }
    }

    // Kills a peer at once, as a machine switched off.
    void Kill(NetPeer& peer) {
        if (peer.Pid <= 0) return;
        kill(peer.Pid, SIGKILL);
        waitpid(peer.Pid, nullptr, 0);
        peer.Pid = -1;
    }

    NetPeer& operator[](size_t index) { return peers_.at(index); }
    size_t Size() const { return peers_.size(); }

private:
    std::string root_;
    std::deque<NetPeer> peers_;  // references to them stay good
    std::vector<std::unique_ptr<TempGameDir>> games_;
};

}  // namespace kelvane::testing

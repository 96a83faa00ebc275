// Starting and stopping the test smbd.

#include "smb_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace permora::smb_test {

namespace fs = std::filesystem;

namespace {

bool WriteFile(const std::string& path, const std::string& text, unsigned mode = 0644) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return out.good() && ::chmod(path.c_str(), mode) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a program to its end with the given environment added, standard input from a text
// and its output into a file. Returns its exit status, -1 when it could not run.
int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
               const std::string& input, const std::string& outputFile) {
    int toChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        environment.emplace_back(*e);
    }
    environment.insert(environment.end(), env.begin(), env.end());
    std::vector<char*> envp;
    for (std::string& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> argCopy = args;
    std::vector<char*> argv;
    for (std::string& a : argCopy) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    const int spawned =
        ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(toChild[0]);
    if (spawned != 0) {
        ::close(toChild[1]);
        return -1;
    }
    (void)!::write(toChild[1], input.data(), input.size());
    ::close(toChild[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool PortOpen() {
    const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(445);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool open =
        ::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return open;
}

} // namespace

std::string WhySharesCannotRun() {
    if (::geteuid() != 0) {
        return "the share tests start smbd on port 445 and need root";
    }
    const char* inNamespace = std::getenv("PERMORA_SMB_NAMESPACE");
    if (inNamespace == nullptr || std::string(inNamespace) != "1") {
        return "the share tests run in a private network namespace (tests/smb/run)";
    }
    for (const char* program : {"/usr/sbin/smbd", "/usr/bin/smbpasswd", "/usr/bin/net"}) {
        if (::access(program, X_OK) != 0) {
            return std::string(program) + " is not installed";
        }
    }
    return {};
}

SmbServer::~SmbServer() {
    Stop();
}

bool SmbServer::Start(std::string& error) {
    std::string name = (fs::temp_directory_path() / "permora-smbd-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        error = "cannot make a temporary folder";
        return false;
    }
    folder_ = name;
    ::chmod(folder_.c_str(), 0755);
    for (const char* sub :
         {"share", "locked", "private", "lock", "state", "cache", "pid", "log", "ncalrpc"}) {
        fs::create_directory(folder_ + "/" + sub);
    }
    // The accounts reach the share as themselves: the folders let every Unix user in, and
    // the NT descriptors decide.
    ::chmod((folder_ + "/share").c_str(), 0777);
    ::chmod((folder_ + "/locked").c_str(), 0777);
    const std::string conf = folder_ + "/smb.conf";
    const std::string log = folder_ + "/log/setup.log";
    WriteFile(folder_ + "/passwd", "root:x:0:0:root:/root:/bin/false\n"
                                   "nobody:x:65534:65534:nobody:/nonexistent:/bin/false\n"
                                   "ann:x:1001:1001:ann:/nonexistent:/bin/false\n"
                                   "bob:x:1002:1002:bob:/nonexistent:/bin/false\n");
    WriteFile(folder_ + "/group", "root:x:0:\nnogroup:x:65534:\nann:x:1001:\nbob:x:1002:\n");
    std::string shares;
    for (const char* share : {"share", "locked"}) {
        shares += std::string("[") + share + "]\n  path = " + folder_ + "/" + share +
                  "\n  read only = no\n  vfs objects = acl_xattr\n"
                  "  acl_xattr:ignore system acls = yes\n  map acl inherit = yes\n";
    }
    WriteFile(conf, "[global]\n"
                    "  netbios name = LAB\n"
                    "  workgroup = LABGROUP\n"
                    "  server role = standalone server\n"
                    "  interfaces = 127.0.0.1\n"
                    "  bind interfaces only = yes\n"
                    "  smb ports = 445\n"
                    "  disable netbios = yes\n"
                    "  private dir = " +
                        folder_ +
                        "/private\n"
                        "  lock directory = " +
                        folder_ +
                        "/lock\n"
                        "  state directory = " +
                        folder_ +
                        "/state\n"
                        "  cache directory = " +
                        folder_ +
                        "/cache\n"
                        "  pid directory = " +
                        folder_ +
                        "/pid\n"
                        "  ncalrpc dir = " +
                        folder_ +
                        "/ncalrpc\n"
                        "  binddns dir = " +
                        folder_ +
                        "/private\n"
                        "  log file = " +
                        folder_ +
                        "/log/%m.log\n"
                        "  passdb backend = tdbsam:" +
                        folder_ +
                        "/private/passdb.tdb\n"
                        "  load printers = no\n"
                        "  printcap name = /dev/null\n"
                        "  disable spoolss = yes\n"
                        "  map to guest = never\n" +
                        shares);
    const std::vector<std::string> nss = {"NSS_WRAPPER_PASSWD=" + folder_ + "/passwd",
                                          "NSS_WRAPPER_GROUP=" + folder_ + "/group",
                                          "LD_PRELOAD=libnss_wrapper.so"};
    struct Step {
        std::vector<std::string> args;
        std::string input;
    };
    const std::vector<Step> steps = {
        {{"ip", "link", "set", "lo", "up"}, ""},
        {{"net", "-s", conf, "setlocalsid", kDomainSid}, ""},
        {{"smbpasswd", "-c", conf, "-a", "-s", "ann"},
         std::string(kAnnPassword) + "\n" + kAnnPassword + "\n"},
        {{"smbpasswd", "-c", conf, "-a", "-s", "bob"},
         std::string(kBobPassword) + "\n" + kBobPassword + "\n"},
        {{"smbpasswd", "-c", conf, "-a", "-s", "root"},
         std::string(kRootPassword) + "\n" + kRootPassword + "\n"},
        // ann captures audit parts; bob may not read them.
        {{"net", "-s", conf, "sam", "rights", "grant", "LAB\\ann", "SeSecurityPrivilege"}, ""},
        {{"net", "-s", conf, "sam", "rights", "grant", "LAB\\root", "SeSecurityPrivilege"}, ""},
    };
    for (const Step& step : steps) {
        if (RunProgram(step.args, step.args[0] == "ip" ? std::vector<std::string>{} : nss,
                       step.input, log) != 0) {
            error = step.args[0] + " " + step.args[1] + " failed: " + ReadFile(log);
            return false;
        }
    }

    // In the foreground, as a process group of its own: smbd's stop signals its whole group.
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        environment.emplace_back(*e);
    }
    environment.insert(environment.end(), nss.begin(), nss.end());
    std::vector<char*> envp;
    for (std::string& e : environment) {
        envp.push_back(e.data());
    }
    envp.push_back(nullptr);
    std::string program = "/usr/sbin/smbd";
    std::string foreground = "--foreground";
    std::string configOption = "--configfile=" + conf;
    char* argv[] = {program.data(), foreground.data(), configOption.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string smbdLog = folder_ + "/log/smbd.out";
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, smbdLog.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    const int spawned =
        ::posix_spawn(&smbd_, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        smbd_ = -1;
        error = std::string("cannot start smbd: ") + std::strerror(spawned);
        return false;
    }
    // smbd is ready in well under two seconds here; ten are allowed on a busy machine.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!PortOpen()) {
        int status = 0;
        if (::waitpid(smbd_, &status, WNOHANG) == smbd_) {
            smbd_ = -1;
            error = "smbd ended: " + ReadFile(smbdLog);
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error = "smbd did not listen on 127.0.0.1:445: " + ReadFile(smbdLog);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

void SmbServer::Stop() {
    if (smbd_ > 0) {
        // smbd leads its own process group; its helpers (samba-dcerpcd) are in it.
        ::kill(-smbd_, SIGTERM);
        ::kill(smbd_, SIGTERM);
        int status = 0;
        while (::waitpid(smbd_, &status, 0) < 0 && errno == EINTR) {
        }
        smbd_ = -1;
    }
    if (!folder_.empty()) {
        // smbd starts samba-dcerpcd for the account lookups, which detaches from smbd's
        // group: it is ended by the pid it wrote into this configuration's folder.
        const std::string pidText = ReadFile(folder_ + "/pid/samba-dcerpcd.pid");
        const long pid = std::strtol(pidText.c_str(), nullptr, 10);
        if (pid > 1) {
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        }
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        folder_.clear();
    }
}

std::string SmbServer::AuthFile(const std::string& user, const std::string& password,
                                unsigned mode) const {
    static int made = 0;
    const std::string path = folder_ + "/" + user + "-" + std::to_string(++made) + ".auth";
    WriteFile(path, "username = " + user + "\npassword = " + password + "\ndomain = LAB\n", mode);
    return path;
}

bool SmbServer::Build(const std::string& share, const std::vector<std::string>& commands,
                      std::string& error) const {
    std::string input = std::string(kRootPassword) + "\n";
    for (const std::string& command : commands) {
        input += command + "\n";
    }
    const std::string log = folder_ + "/log/build.log";
    ::unlink(log.c_str());
    const int status =
        RunProgram({"/usr/bin/python3", PERMORA_SHARE_TOOL, "127.0.0.1", share, "LAB", "root"}, {},
                   input, log);
    if (status != 0) {
        error = ReadFile(log);
        return false;
    }
    return true;
}

std::string SmbServer::Show(const std::string& share, const std::string& path) const {
    const std::string log = folder_ + "/log/show.log";
    ::unlink(log.c_str());
    RunProgram({"/usr/bin/python3", PERMORA_SHARE_TOOL, "127.0.0.1", share, "LAB", "root"}, {},
               std::string(kRootPassword) + "\nshow " + path + "\n", log);
    return ReadFile(log);
}

} // namespace permora::smb_test

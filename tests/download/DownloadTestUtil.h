#pragma once

// Helpers of the download tests: scratch folders, a small RAR writer (stored
// entries), ZIP packs through libarchive's writer, and real web servers on
// 127.0.0.1 run by Python for the test's lifetime.

#include <archive.h>
#include <archive_entry.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace orvel::test {

namespace fs = std::filesystem;

class TScratchDir {
public:
    TScratchDir() {
        std::string pattern = (fs::temp_directory_path() / "orvel-dl-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TScratchDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    TScratchDir(const TScratchDir&) = delete;
    TScratchDir& operator=(const TScratchDir&) = delete;
    const std::string& Path() const { return m_path; }
    std::string Sub(const std::string& name) const {
        fs::create_directories(fs::path(m_path) / name);
        return (fs::path(m_path) / name).string() + "/";
    }

private:
    std::string m_path;
};

inline void WriteText(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Every path below dir (relative, folders marked with a trailing "/",
// links with "@"), for "the folder is as it was" checks.
inline std::set<std::string> Tree(const std::string& dir) {
    std::set<std::string> out;
    for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
        std::string rel = fs::relative(it->path(), dir).string();
        if (it->is_symlink()) rel += "@";
        else if (it->is_directory()) rel += "/";
        out.insert(rel);
    }
    return out;
}

// ---------------------------------------------------------------- RAR 4 writer

struct TRarEntry {
    TRarEntry(std::string name, std::string data, uint32_t mode = 0100644,
              std::optional<uint32_t> claimed = std::nullopt)
        : Name(std::move(name)), Data(std::move(data)), Mode(mode), ClaimedSize(claimed) {}
    std::string Name;
    std::string Data;
    uint32_t Mode = 0100644;               // Unix mode: file kind and permissions
    std::optional<uint32_t> ClaimedSize;  // unpacked size in the header, when not the data's
};

inline void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// A block: its CRC (low 16 bits of CRC-32 over the rest) in front of body,
// which starts with the block type.
inline std::string RarBlock(const std::string& body) {
    const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    std::string block;
    Put16(block, crc & 0xFFFF);
    return block + body;
}

inline std::string RarFileBlock(const TRarEntry& e) {
    std::string body;
    body += static_cast<char>(0x74);
    Put16(body, 0x8000);  // a long block: the packed data follows
    Put16(body, static_cast<uint32_t>(32 + e.Name.size()));
    Put32(body, static_cast<uint32_t>(e.Data.size()));
    Put32(body, e.ClaimedSize.value_or(static_cast<uint32_t>(e.Data.size())));
    body += static_cast<char>(3);  // made on Unix: the attributes are a mode
    Put32(body, crc32(0, reinterpret_cast<const Bytef*>(e.Data.data()), static_cast<uInt>(e.Data.size())));
    Put32(body, 0x5A210000);  // 2025-01-01 as a DOS time
    body += static_cast<char>(20);   // version 2.0 unpacks it
    body += static_cast<char>(0x30);  // stored
    Put16(body, static_cast<uint32_t>(e.Name.size()));
    Put32(body, e.Mode);
    return RarBlock(body + e.Name) + e.Data;
}

// A RAR 4 archive of stored entries; brokenTail ends it with a damaged
// header instead of the end block.
inline std::string RarArchive(const std::vector<TRarEntry>& entries, bool brokenTail = false) {
    std::string out("Rar!\x1A\x07\x00", 7);
    std::string main;
    main += static_cast<char>(0x73);
    Put16(main, 0);
    Put16(main, 13);
    Put16(main, 0);
    Put32(main, 0);
    out += RarBlock(main);
    for (const TRarEntry& e : entries) out += RarFileBlock(e);
    if (brokenTail) {
        std::string bad = RarFileBlock({"tail.orv", "xyz"});
        bad[0] ^= 0x55;  // its CRC no longer matches
        return out + bad.substr(0, 20);
    }
    std::string end;
    end += static_cast<char>(0x7B);
    Put16(end, 0x4000);
    Put16(end, 7);
    return out + RarBlock(end);
}

// ---------------------------------------------------------------- ZIP writer

struct TZipEntry {
    TZipEntry(std::string name, std::string data, unsigned type = AE_IFREG, std::string link = {})
        : Name(std::move(name)), Data(std::move(data)), Type(type), LinkTarget(std::move(link)) {}
    std::string Name;
    std::string Data;
    unsigned Type = AE_IFREG;
    std::string LinkTarget;
};

inline void WriteZip(const std::string& path, const std::vector<TZipEntry>& entries) {
    archive* a = archive_write_new();
    archive_write_set_format_zip(a);
    archive_write_open_filename(a, path.c_str());
    for (const TZipEntry& e : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, e.Name.c_str());
        archive_entry_set_filetype(entry, e.Type);
        archive_entry_set_perm(entry, 0644);
        if (e.Type == AE_IFLNK) archive_entry_set_symlink(entry, e.LinkTarget.c_str());
        archive_entry_set_size(entry, e.Type == AE_IFREG ? static_cast<la_int64_t>(e.Data.size()) : 0);
        archive_write_header(a, entry);
        if (e.Type == AE_IFREG) archive_write_data(a, e.Data.data(), e.Data.size());
        archive_entry_free(entry);
    }
    archive_write_close(a);
    archive_write_free(a);
}

// ---------------------------------------------------------------- servers

inline bool HaveProgram(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A self-signed certificate for 127.0.0.1, made now; false when openssl fails.
inline bool MakeCertificate(const std::string& dir, const std::string& stem) {
    const std::string cmd = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
                            "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost "
                            "-keyout '" + dir + stem + ".key' -out '" + dir + stem + ".pem' >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

class TTestServer {
public:
    // Serves root; with a certificate stem (from MakeCertificate) over HTTPS.
    bool Start(const std::string& root, const std::string& work, const std::string& certStem = {}) {
        m_log = work + "requests.log";
        const std::string portFile = work + "port";
        std::vector<std::string> args = {"python3", ORVEL_TEST_SERVER, "--dir", root, "--portfile", portFile,
                                         "--log", m_log};
        if (!certStem.empty()) {
            args.insert(args.end(), {"--cert", certStem + ".pem", "--key", certStem + ".key"});
        }
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&m_pid, "python3", nullptr, nullptr, argv.data(), environ) != 0) return false;
        for (int i = 0; i < 500 && !fs::exists(portFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!fs::exists(portFile)) return false;
        m_port = std::stoi(ReadText(portFile));
        return true;
    }
    ~TTestServer() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    std::string Host() const { return "127.0.0.1:" + std::to_string(m_port); }
    // The paths requested so far, in order.
    std::vector<std::string> Requests() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadText(m_log));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    pid_t m_pid = 0;
    int m_port = 0;
    std::string m_log;
};

}  // namespace orvel::test

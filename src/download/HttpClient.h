#pragma once

// TMyHttp: the download's HTTP and HTTPS client over libcurl. Requests block;
// the events keep a window's caption and progress current and let it repaint
// while a transfer runs.

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

namespace orvel {

constexpr long kConnectTimeoutMs = 5000;

// How the client talks to the server.
struct THttpSetup {
    long ConnectTimeoutMs = kConnectTimeoutMs;
    // A transfer that moves no byte for this long is given up, so a server
    // that accepts and then says nothing cannot hold the window forever.
    long StallTimeoutS = 60;
    // iSecureMethodInd. The old SSL choices no longer exist in the TLS
    // library: every choice negotiates the best protocol both sides offer,
    // TLS 1.2 at least ("TLS v1_3" asks for 1.3 at least).
    int SecureMethodInd = 5;
    // Offered for basic authentication when set.
    std::string User;
    std::string Password;
    // Certificates are checked against the system's trust store; a file of
    // trusted certificates here replaces it (tests trust their own server).
    std::string CaFile;
};

// Transfer kinds: the events are passed on only during kinds 1 and 2.
enum class TransferKind { None = 0, ServerInfo = 1, Pack = 2 };

struct THttpEvents {
    std::function<void()> Connected;
    std::function<void()> Disconnected;
    // Reading begins; total is the expected size (0 when unknown).
    std::function<void(int64_t total)> WorkBegin;
    // Bytes read so far.
    std::function<void(int64_t done)> Work;
    // Called often while a request runs, even before the connection is
    // made: the window repaints and notices Stop here.
    std::function<void()> Idle;
};

// A request's outcome. A protocol error is an answer with a status of 400 or
// more (Status holds it); otherwise Error holds the library's words.
struct THttpReply {
    bool Ok = false;
    bool ProtocolError = false;
    bool TimedOut = false;
    long Status = 0;
    std::string Error;
};

class TMyHttp {
public:
    TMyHttp();
    ~TMyHttp();
    TMyHttp(const TMyHttp&) = delete;
    TMyHttp& operator=(const TMyHttp&) = delete;

    // Whether the HTTP library could be set up; without it nothing is fetched.
    bool Available() const { return m_curl != nullptr; }

    THttpSetup Setup;
    THttpEvents Events;
    TransferKind Kind = TransferKind::None;

    // GET into memory / into an open file.
    THttpReply Get(const std::string& url, std::string& body);
    THttpReply GetToFile(const std::string& url, std::FILE* file);
    // Ends the connection kept open after a request.
    void Disconnect();
    bool Connected() const { return m_connected; }

private:
    struct Sink;
    THttpReply Perform(const std::string& url, Sink& sink);
    void ApplySetup();
    static size_t Write(char* data, size_t size, size_t count, void* user);
    static int Progress(void* user, int64_t total, int64_t done, int64_t, int64_t);
    bool Reporting() const { return Kind != TransferKind::None; }

    void* m_curl = nullptr;
    bool m_connected = false;
};

}  // namespace orvel

#include "download/HttpClient.h"

#include <curl/curl.h>

namespace orvel {
namespace {

CURL* Handle(void* curl) { return static_cast<CURL*>(curl); }

// The library is set up once for the process, before the first handle.
bool GlobalInit() {
    static const bool ok = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
    return ok;
}

long TlsVersion(int secureMethodInd) {
    return secureMethodInd == 6 ? CURL_SSLVERSION_TLSv1_3 : CURL_SSLVERSION_TLSv1_2;
}

}  // namespace

// Where the body goes, and what the events need to know along the way.
struct TMyHttp::Sink {
    TMyHttp* Owner = nullptr;
    std::string* Memory = nullptr;
    std::FILE* File = nullptr;
    bool Began = false;
    bool WriteFailed = false;
};

TMyHttp::TMyHttp() {
    if (GlobalInit()) m_curl = curl_easy_init();
}

TMyHttp::~TMyHttp() {
    if (m_curl) curl_easy_cleanup(Handle(m_curl));
}

THttpReply TMyHttp::Get(const std::string& url, std::string& body) {
    body.clear();
    Sink sink{this, &body, nullptr};
    return Perform(url, sink);
}

THttpReply TMyHttp::GetToFile(const std::string& url, std::FILE* file) {
    Sink sink{this, nullptr, file};
    return Perform(url, sink);
}

void TMyHttp::Disconnect() {
    if (!m_connected) return;
    // A fresh handle drops the kept connection; the settings go on each request.
    if (m_curl) curl_easy_cleanup(Handle(m_curl));
    m_curl = curl_easy_init();
    m_connected = false;
    if (Reporting() && Events.Disconnected) Events.Disconnected();
}

void TMyHttp::ApplySetup() {
    CURL* curl = Handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, Setup.ConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, Setup.StallTimeoutS);
    curl_easy_setopt(curl, CURLOPT_SSLVERSION, TlsVersion(Setup.SecureMethodInd));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!Setup.CaFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, Setup.CaFile.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    if (!Setup.User.empty()) {
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(curl, CURLOPT_USERNAME, Setup.User.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, Setup.Password.c_str());
    }
}

THttpReply TMyHttp::Perform(const std::string& url, Sink& sink) {
    THttpReply reply;
    if (!m_curl) {
        reply.Error = "the HTTP library is not available";
        return reply;
    }
    CURL* curl = Handle(m_curl);
    ApplySetup();
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &TMyHttp::Write);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TMyHttp::Progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &sink);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.Status);
    m_connected = reply.Status != 0;
    reply.Ok = code == CURLE_OK && !sink.WriteFailed;
    reply.ProtocolError = code == CURLE_HTTP_RETURNED_ERROR;
    reply.TimedOut = code == CURLE_OPERATION_TIMEDOUT;
    if (sink.WriteFailed)
        reply.Error = "the received data could not be stored";
    else if (!reply.Ok)
        reply.Error = errorText[0] ? errorText : curl_easy_strerror(code);
    return reply;
}

size_t TMyHttp::Write(char* data, size_t size, size_t count, void* user) {
    Sink& sink = *static_cast<Sink*>(user);
    const size_t bytes = size * count;
    if (sink.Memory) {
        sink.Memory->append(data, bytes);
        return bytes;
    }
    if (std::fwrite(data, 1, bytes, sink.File) != bytes) {
        sink.WriteFailed = true;
        return 0;  // ends the transfer
    }
    return bytes;
}

// The library calls this about once a second while it waits and after every
// piece it reads.
int TMyHttp::Progress(void* user, int64_t total, int64_t done, int64_t, int64_t) {
    Sink& sink = *static_cast<Sink*>(user);
    TMyHttp& http = *sink.Owner;
    if (http.Reporting()) {
        if (!sink.Began && (total > 0 || done > 0)) {
            sink.Began = true;
            if (!http.m_connected && http.Events.Connected) http.Events.Connected();
            http.m_connected = true;
            if (http.Events.WorkBegin) http.Events.WorkBegin(total);
        }
        if (sink.Began && http.Events.Work) http.Events.Work(done);
    }
    if (http.Events.Idle) http.Events.Idle();
    return 0;
}

}  // namespace orvel

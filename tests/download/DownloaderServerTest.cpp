// The download window's logic against real web servers on 127.0.0.1 (Python,
// over HTTP and HTTPS with a certificate made for the run).
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <functional>
#include <memory>

#include "DownloadTestUtil.h"
#include "download/Downloader.h"
#include "graphics/ImageCodecs.h"
#include "lang/Lang.h"
#include "platform/FakePlatform.h"
#include "settings/Settings.h"

namespace orvel {
namespace {

using namespace orvel::test;

// Both servers serve one site folder; each test publishes under its own path.
class Servers {
public:
    static Servers* Get() {
        static std::unique_ptr<Servers> servers = Start();
        return servers.get();
    }
    std::string Root() const { return m_dir.Sub("site"); }
    TTestServer Http, Https;
    std::string CaFile;

private:
    static std::unique_ptr<Servers> Start() {
        if (!HaveProgram("python3") || !HaveProgram("openssl")) return nullptr;
        auto s = std::make_unique<Servers>();
        const std::string work = s->m_dir.Sub("work");
        if (!MakeCertificate(work, "server")) return nullptr;
        s->CaFile = work + "server.pem";
        if (!s->Http.Start(s->Root(), s->m_dir.Sub("http")) ||
            !s->Https.Start(s->Root(), s->m_dir.Sub("https"), work + "server"))
            return nullptr;
        return s;
    }
    TScratchDir m_dir;
};

std::string PreviewJpeg(int w, int h) {
    TMyBitmap pic;
    std::vector<uint8_t> bytes;
    if (!Create24(pic, w, h) || !SaveJpeg(pic, bytes, 80).Ok()) return {};
    return std::string(bytes.begin(), bytes.end());
}

class DownloaderServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_servers = Servers::Get();
        if (!m_servers) GTEST_SKIP() << "python3 or openssl is missing";
        m_site = ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string("/");
        m_lang.LoadFromBytes(ReadText(ORVEL_SOURCE_DIR "/data/language/english.lng"));
        m_settings.sDnSrc = m_servers->Http.Host();
        m_settings.bUseSecure = false;
        m_settings.SiteJigsawsDir = m_site;
        m_settings.ThumbPath = m_dirs.Sub("thumb");
        m_jigsaws = m_dirs.Sub("Jigsaws");
        m_paths = {m_jigsaws, m_dirs.Sub("tmp"), m_dirs.Sub("data")};
    }
    void Catalogue(const std::string& lines) { WriteText(m_settings.ThumbPath + "jiglist.txt", lines); }
    void Publish(const std::string& file, const std::string& bytes) {
        WriteText(m_servers->Root() + m_site + file, bytes);
    }
    TDownloader& Open(TDownloadDeployment deployment = {}) {
        if (deployment.CaFile.empty()) deployment.CaFile = m_servers->CaFile;
        m_down = std::make_unique<TDownloader>(m_platform, m_lang, m_settings, m_paths, deployment);
        m_down->Show();
        return *m_down;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : m_platform.Messages) out.push_back(m.Text);
        return out;
    }
    std::string PackUrlOf(const std::string& name, const std::string& ext) const {
        return "http://" + m_settings.sDnSrc + "/" + m_site + name + ext;
    }
    int RequestsUnderSite(const TTestServer& server) const {
        int n = 0;
        for (const std::string& r : server.Requests()) n += r.find(m_site) != std::string::npos;
        return n;
    }

    Servers* m_servers = nullptr;
    std::string m_site;
    TScratchDir m_dirs;
    FakePlatform m_platform;
    TLanguage m_lang{&m_platform, ""};
    TSettings m_settings;
    std::string m_jigsaws;
    TDownloadPaths m_paths;
    std::unique_ptr<TDownloader> m_down;
};

TEST_F(DownloaderServerTest, TheSelectedJigsawComesOverHttpUnderItsLowerCaseName) {
    Catalogue("  LakeSide  \r\nOther\n");
    WriteText(m_settings.ThumbPath + "lakeside.jpg", PreviewJpeg(360, 90));
    Publish("info.dat", "EXT: RAR\r\n");
    Publish("lakeside.rar", RarArchive({{"lakeside.orv", "lake jigsaw"}, {"lakeside.jpg", "p"}}));
    TDownloader& down = Open();
    ASSERT_EQ(down.Items().size(), 2u);
    EXPECT_EQ(down.Items()[0].Name, "lakeside");
    EXPECT_EQ(down.Items()[0].ImageIndex, 1);
    EXPECT_EQ(std::pair(down.Items()[0].W, down.Items()[0].H), std::pair(180, 45));
    EXPECT_EQ(down.Items()[1].ImageIndex, 0);
    EXPECT_EQ(down.Preview(1), nullptr);

    down.SetMode(DownMode_Selected);
    down.SelectItem(0);
    down.DownloadClick();
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(ReadText(m_jigsaws + "lakeside.orv"), "lake jigsaw");
    EXPECT_EQ(down.Items()[0].State, 1);
    EXPECT_EQ(down.FirstDownloaded(), m_jigsaws + "lakeside.orv");
    EXPECT_EQ(m_servers->Http.Requests().back(), "/" + m_site + "lakeside.rar");
    EXPECT_TRUE(fs::is_empty(m_paths.TempDir));
    EXPECT_FALSE(down.Busy());

    // Again: the question about replacing it, and Cancel leaves it alone.
    m_platform.QueueAnswer(MsgResult::Cancel);
    const int before = RequestsUnderSite(m_servers->Http);
    down.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 1u);
    EXPECT_NE(Texts()[0].find("lakeside.orv"), std::string::npos);
    EXPECT_EQ(RequestsUnderSite(m_servers->Http), before);
}

TEST_F(DownloaderServerTest, AllAndNewJigsawsOverHttpsWithATrustedCertificate) {
    Catalogue("aqua\nbeach\n");
    Publish("info.dat", "ext: zip\n");
    WriteZip(m_servers->Root() + m_site + "aqua.zip", {{"aqua.orv", "a"}});
    WriteZip(m_servers->Root() + m_site + "beach.zip", {{"beach.orv", "b"}});
    m_settings.bUseSecure = true;
    m_settings.sDnSrc = m_servers->Https.Host();
    TDownloader& down = Open();
    EXPECT_EQ(down.Mode(), DownMode_New);
    down.SetMode(DownMode_All);
    down.DownloadClick();
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(ReadText(m_jigsaws + "aqua.orv"), "a");
    EXPECT_EQ(ReadText(m_jigsaws + "beach.orv"), "b");
    EXPECT_EQ(down.FirstDownloaded(), m_jigsaws + "aqua.orv");
    EXPECT_GT(m_platform.ProcessEventsCalls, 0);

    // Every item is there now: "New Jigsaws" says so and fetches nothing.
    const int before = RequestsUnderSite(m_servers->Https);
    down.Show();
    EXPECT_EQ(down.Items()[1].State, 1);
    down.SetMode(DownMode_New);
    down.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 1u);
    EXPECT_EQ(Texts()[0], m_lang.LookUpMessage(LangSection::Download, "MS_NoNewJigs"));
    EXPECT_EQ(RequestsUnderSite(m_servers->Https), before);
}

TEST_F(DownloaderServerTest, AnUntrustedCertificateIsRefusedAndAnotherHostOffered) {
    Catalogue("aqua\n");
    Publish("info.dat", "ext: zip\n");
    m_settings.bUseSecure = true;
    m_settings.sDnSrc = m_servers->Https.Host();
    TDownloader& down = Open({"", "", "/nonexistent/ca.pem"});
    m_platform.QueueAnswer(MsgResult::Ok);
    m_platform.QueueAnswer(MsgResult::No);
    down.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 2u);
    EXPECT_EQ(m_platform.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(m_platform.Messages[1].Kind, MsgKind::YesNo);
    EXPECT_NE(Texts()[1].find(m_servers->Https.Host()), std::string::npos);
    EXPECT_NE(Texts()[1].find(kDownloadHosts[1]), std::string::npos);
    EXPECT_EQ(m_settings.sDnSrc, m_servers->Https.Host());
    EXPECT_TRUE(fs::is_empty(m_jigsaws));
    EXPECT_TRUE(fs::is_empty(m_paths.TempDir));
}

TEST_F(DownloaderServerTest, MissingFilesAndRefusedLoginsNameTheAddress) {
    Catalogue("ghost\n");
    Publish("info.dat", "ext: rar\n");
    TDownloader& down = Open();
    down.SetMode(DownMode_Selected);
    down.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 1u);
    EXPECT_EQ(Texts()[0], FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_FileNotFound"),
                                     PackUrlOf("ghost", ".rar")));

    // A locked site: without credentials 401, and no other host is offered.
    m_platform.Messages.clear();
    Publish("ghost.rar", RarArchive({{"ghost.orv", "boo"}}));
    m_settings.SiteJigsawsDir = "locked/" + m_site;
    TDownloader& locked = Open();
    locked.SetMode(DownMode_Selected);
    locked.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 1u);
    EXPECT_EQ(Texts()[0], FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_InvalidLogin"),
                                     "http://" + m_settings.sDnSrc + "/locked/" + m_site + "info.dat"));

    m_platform.Messages.clear();
    TDownloader& allowed = Open({"user", "secret", ""});
    allowed.SetMode(DownMode_Selected);
    allowed.DownloadClick();
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(ReadText(m_jigsaws + "ghost.orv"), "boo");
}

TEST_F(DownloaderServerTest, AnErrorPageStopsAManyItemDownload) {
    Catalogue("one\ntwo\nthree\n");
    Publish("info.dat", "ext: rar\n");
    Publish("one.rar", RarArchive({{"one.orv", "1"}}));
    Publish("two.rar", "<html><head><title>404 Not Found</title></head><body>gone</body></html>");
    Publish("three.rar", RarArchive({{"three.orv", "3"}}));
    TDownloader& down = Open();
    down.SetMode(DownMode_All);
    down.DownloadClick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{
                           FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_FileNotFound"),
                                      PackUrlOf("two", ".rar")),
                           FormatText(m_lang.LookUpMessage(LangSection::Download, "MS_SomeFailed"), 1)}));
    EXPECT_TRUE(fs::exists(m_jigsaws + "one.orv"));
    EXPECT_FALSE(fs::exists(m_jigsaws + "three.orv"));
    for (const std::string& r : m_servers->Http.Requests()) EXPECT_EQ(r.find(m_site + "three"), std::string::npos);
}

TEST_F(DownloaderServerTest, ADamagedTailCountsAndAHostilePackChangesNothing) {
    Catalogue("tail\nevil\n");
    Publish("info.dat", "ext: rar\n");
    Publish("tail.rar", RarArchive({{"tail.orv", "t"}}, true));
    Publish("evil.rar", RarArchive({{"evil.orv", "e"}, {"../../escape.orv", "x"}}));
    TDownloader& down = Open();
    down.SetMode(DownMode_Selected);
    down.DownloadClick();
    EXPECT_EQ(Texts(), (std::vector<std::string>{"Archive header error - File header broken"}));
    EXPECT_EQ(down.Items()[0].State, 1);

    m_platform.Messages.clear();
    down.SelectItem(1);
    down.DownloadClick();
    ASSERT_EQ(m_platform.Messages.size(), 1u);
    EXPECT_NE(Texts()[0].find("../../escape.orv"), std::string::npos);
    EXPECT_EQ(down.Items()[1].State, 0);
    EXPECT_EQ(Tree(m_dirs.Path() + "/Jigsaws"), (std::set<std::string>{"tail.orv"}));
    EXPECT_FALSE(fs::exists(m_dirs.Path() + "/escape.orv"));
    EXPECT_TRUE(fs::is_empty(m_paths.TempDir));
}

// Stop or Exit pressed while an item downloads: that item finishes, no
// further one starts.
struct TStoppingView : TDownloadView {
    std::function<void()> OnUnpacked;
    void Note(const std::string& line) override {
        if (line.starts_with("unpacked:") && OnUnpacked) OnUnpacked();
    }
};

TEST_F(DownloaderServerTest, StopAndExitAreHonouredBetweenItems) {
    Catalogue("one\ntwo\nthree\n");
    Publish("info.dat", "ext: rar\n");
    for (const char* name : {"one", "two", "three"})
        Publish(std::string(name) + ".rar", RarArchive({{std::string(name) + ".orv", name}}));
    TDownloader& down = Open();
    TStoppingView view;
    down.SetView(&view);
    view.OnUnpacked = [&] { down.StopClick(); };
    down.SetMode(DownMode_All);
    down.DownloadClick();
    EXPECT_TRUE(Texts().empty()) << Texts()[0];
    EXPECT_EQ(Tree(m_jigsaws), (std::set<std::string>{"one.orv"}));

    // A new showing forgets the stop; Exit during "New Jigsaws" ends it after "two".
    WriteText(m_paths.UserDataDir + "_thumb.jpg", "scratch");
    down.Show();
    view.OnUnpacked = [&] { down.Close(); };
    EXPECT_EQ(down.Mode(), DownMode_All);  // kept from the last showing
    down.SetMode(DownMode_New);
    down.DownloadClick();
    EXPECT_EQ(Tree(m_jigsaws), (std::set<std::string>{"one.orv", "two.orv"}));
    EXPECT_TRUE(down.Closing());
    EXPECT_FALSE(fs::exists(m_paths.UserDataDir + "_thumb.jpg"));
    down.SetView(nullptr);
}

// A listening socket whose queue is full: connections to it are never
// answered, so only the connect timeout ends the attempt.
int SilentListener(int& port, std::vector<int>& fillers) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof(addr);
    if (bind(s, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(s, 0) != 0) return -1;
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    port = ntohs(addr.sin_port);
    for (int i = 0; i < 3; ++i) {
        const int c = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        (void)connect(c, reinterpret_cast<sockaddr*>(&addr), len);
        fillers.push_back(c);
    }
    return s;
}

TEST_F(DownloaderServerTest, AServerThatNeverAnswersTimesOutWhileTheWindowRepaints) {
    Catalogue("aqua\n");
    int port = 0;
    std::vector<int> fillers;
    const int listener = SilentListener(port, fillers);
    ASSERT_GE(listener, 0);
    m_settings.sDnSrc = "127.0.0.1:" + std::to_string(port);
    TDownloader& down = Open();
    m_platform.QueueAnswer(MsgResult::Ok);
    m_platform.QueueAnswer(MsgResult::No);
    const auto start = std::chrono::steady_clock::now();
    down.DownloadClick();
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (int fd : fillers) close(fd);
    close(listener);
    ASSERT_EQ(m_platform.Messages.size(), 2u);
    EXPECT_NE(Texts()[0].find("Timeout"), std::string::npos) << Texts()[0];
    EXPECT_GE(seconds, 4.5);  // the attempt waited for the timeout, it did not fail at once
    EXPECT_GT(m_platform.ProcessEventsCalls, 1);
    EXPECT_FALSE(down.Busy());
}

}  // namespace
}  // namespace orvel

// The catalogue list, the server's description file, the addresses and the
// recognition of error pages.
#include <gtest/gtest.h>

#include "download/DownloadCatalogue.h"
#include "settings/Settings.h"

namespace orvel {
namespace {

TEST(CatalogueTest, ListLinesAreTrimmedLowerCasedAndKeptInOrder) {
    EXPECT_EQ(ParseCatalogueList("  LakeSide \r\n\n\t\nAqua\nzebra  "),
              (std::vector<std::string>{"lakeside", "aqua", "zebra"}));
    EXPECT_TRUE(ParseCatalogueList("").empty());
    EXPECT_TRUE(LoadCatalogueList("/nonexistent/thumb/").empty());
}

TEST(CatalogueTest, DescriptionFileKeysAndTheExtension) {
    const TServerInfo rar = ParseServerInfo(" EXT : RAR \r\nOther: Some Note:with colon\nno colon\n: empty key\nkey:\n");
    EXPECT_EQ(rar.Ext, ".rar");
    EXPECT_TRUE(rar.Usable());
    EXPECT_EQ(rar.Values.at("other"), "some note:with colon");
    EXPECT_EQ(rar.Values.size(), 2u);
    EXPECT_EQ(ParseServerInfo("ext: .ZIP").Ext, ".zip");
    EXPECT_FALSE(ParseServerInfo("other: rar\next:\n").Usable());
}

TEST(CatalogueTest, AddressesFollowTheSchemeSettingAlone) {
    TSettings s;
    s.sDnSrc = "pack.host:8080";
    s.SiteJigsawsDir = "orvel/jigsaws_zent/";
    for (int method = 0; method < 7; ++method) {
        s.iSecureMethodInd = method;
        s.bUseSecure = false;
        EXPECT_EQ(ServerInfoUrl(s), "http://pack.host:8080/orvel/jigsaws_zent/info.dat");
        s.bUseSecure = true;
        EXPECT_EQ(PackUrl(s, "lake", ".rar"), "https://pack.host:8080/orvel/jigsaws_zent/lake.rar");
    }
    EXPECT_EQ(OtherDownloadHost(kDownloadHosts[0]), kDownloadHosts[1]);
    EXPECT_EQ(OtherDownloadHost(kDownloadHosts[1]), kDownloadHosts[0]);
    EXPECT_EQ(OtherDownloadHost("elsewhere"), kDownloadHosts[1]);
}

TEST(CatalogueTest, ErrorPagesAndTheirTitles) {
    const std::string page = "<HTML><head><Title> 404 Not Found </title></head></html>";
    EXPECT_TRUE(IsErrorPage(page));
    EXPECT_EQ(ErrorPageTitle(page), "404 NOT FOUND");
    EXPECT_FALSE(IsErrorPage(std::string("Rar!\0<html>", 11)));     // past a zero byte
    EXPECT_FALSE(IsErrorPage(std::string(255, ' ') + "<html>"));    // past the head
    EXPECT_EQ(ErrorPageTitle("<html><body>no title</body></html>"), "");
}

TEST(CatalogueTest, PreviewsFitTheCellKeepingTheirShape) {
    auto fit = [](int w, int h) {
        int fw = 0, fh = 0;
        PreviewFitSize(w, h, fw, fh);
        return std::pair{fw, fh};
    };
    EXPECT_EQ(fit(100, 80), std::pair(100, 80));
    EXPECT_EQ(fit(360, 270), std::pair(180, 135));
    EXPECT_EQ(fit(400, 100), std::pair(180, 45));
    EXPECT_EQ(fit(100, 200), std::pair(67, 135));
    for (int w = 1; w < 2000; w += 37)
        for (int h = 1; h < 2000; h += 41) {
            const auto [fw, fh] = fit(w, h);
            EXPECT_TRUE(fw >= 1 && fw <= kPreviewW && fh >= 1 && fh <= kPreviewH) << w << "x" << h;
        }
}

}  // namespace
}  // namespace orvel

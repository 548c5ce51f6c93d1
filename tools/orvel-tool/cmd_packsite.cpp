// orvel-tool pack-site: a complete jigsaw download site from pictures, and
// the catalogue the game lists it by. Any static web server can serve it.
#include <archive.h>
#include <archive_entry.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Command.h"
#include "base/FileRead.h"
#include "base/Text.h"
#include "download/DownloadCatalogue.h"
#include "game/JigsawFile.h"
#include "graphics/ImageCodecs.h"
#include "settings/Settings.h"

namespace fs = std::filesystem;

namespace orvel::tool {
namespace {

const char* kUsage = "OUT_DIR IMAGE... [--thumb DIR] [--kind zip|tar.gz|7z]";
constexpr int kPreviewQuality = 90;
constexpr uint64_t kMaxJigsawBytes = uint64_t{512} << 20;

struct SiteOptions {
    std::string OutDir;
    std::string ThumbDir;  // default OUT_DIR/thumb
    std::string Kind = "zip";
    std::vector<std::string> Images;
};

struct TPackFile {
    std::string Name;
    std::string Bytes;
};

// One pack: the files in an archive of the chosen kind.
bool WriteArchive(const std::string& path, const std::string& kind, const std::vector<TPackFile>& files) {
    archive* a = archive_write_new();
    if (kind == "7z") {
        archive_write_set_format_7zip(a);
    } else if (kind == "tar.gz") {
        archive_write_set_format_pax_restricted(a);
        archive_write_add_filter_gzip(a);
    } else {
        archive_write_set_format_zip(a);
    }
    bool ok = archive_write_open_filename(a, path.c_str()) == ARCHIVE_OK;
    for (const TPackFile& f : files) {
        if (!ok) break;
        archive_entry* entry = archive_entry_new();
        archive_entry_set_pathname(entry, f.Name.c_str());
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_perm(entry, 0644);
        archive_entry_set_size(entry, static_cast<la_int64_t>(f.Bytes.size()));
        ok = archive_write_header(a, entry) == ARCHIVE_OK &&
             archive_write_data(a, f.Bytes.data(), f.Bytes.size()) == static_cast<la_ssize_t>(f.Bytes.size());
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    return ok;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The jigsaw's own thumbnail, as the catalogue's preview.
bool PreviewOf(const std::string& jigsaw, std::string& jpeg) {
    ResultOf<TJigsawData> data = ReadJigsaw(jigsaw, JigsawReadMode::Thumb);
    std::vector<uint8_t> bytes;
    if (!data || data.Value().Thumb.Width <= 0 || !SaveJpeg(data.Value().Thumb, bytes, kPreviewQuality).Ok())
        return false;
    jpeg.assign(bytes.begin(), bytes.end());
    return true;
}

// Packs the picture with the pack command, then files the jigsaw's pack on
// the site and its preview in the catalogue. Returns the jigsaw's name.
std::string AddJigsaw(const std::string& image, const SiteOptions& o, const std::string& scratch,
                      const std::string& siteDir) {
    const std::string name = AsciiLower(fs::path(image).stem().string());
    for (const Command& c : Commands())
        if (c.Name == "pack" && c.Run({image, "--out", scratch}) != 0) return {};
    std::string jigsaw, preview;
    if (!ReadSmallFile(JoinPath(scratch, name + ".orv"), kMaxJigsawBytes, jigsaw) ||
        !PreviewOf(JoinPath(scratch, name + ".orv"), preview)) {
        std::fprintf(stderr, "pack-site: %s: the jigsaw could not be read back\n", image.c_str());
        return {};
    }
    const std::string pack = JoinPath(siteDir, name + "." + o.Kind);
    if (!WriteArchive(pack, o.Kind, {{name + ".orv", jigsaw}, {name + ".jpg", preview}}) ||
        !WriteBytes(JoinPath(o.ThumbDir, name + ".jpg"), preview)) {
        std::fprintf(stderr, "pack-site: %s: cannot write the pack or its preview\n", image.c_str());
        return {};
    }
    std::printf("%s\n", pack.c_str());
    return name;
}

int ParseArgs(const std::vector<std::string>& args, SiteOptions& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--thumb" || a == "--kind") && i + 1 < args.size()) {
            (a == "--thumb" ? o.ThumbDir : o.Kind) = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            std::fprintf(stderr, "pack-site: unknown option %s\nUsage: orvel-tool pack-site %s\n", a.c_str(), kUsage);
            return 2;
        } else if (o.OutDir.empty()) {
            o.OutDir = a;
        } else {
            o.Images.push_back(a);
        }
    }
    if (o.Images.empty() || (o.Kind != "zip" && o.Kind != "tar.gz" && o.Kind != "7z")) {
        std::fprintf(stderr, "Usage: orvel-tool pack-site %s\n", kUsage);
        return 2;
    }
    if (o.ThumbDir.empty()) o.ThumbDir = JoinPath(o.OutDir, "thumb");
    return -1;
}

int RunPackSite(const std::vector<std::string>& args) {
    SiteOptions o;
    if (const int status = ParseArgs(args, o); status >= 0) return status;
    const std::string siteDir = JoinPath(o.OutDir, kDefaultSiteJigsawsDir);
    const std::string scratch = JoinPath(o.OutDir, ".scratch");
    std::error_code ec;
    for (const std::string& dir : {siteDir, o.ThumbDir, scratch}) fs::create_directories(dir, ec);
    std::string list;
    bool ok = true;
    for (const std::string& image : o.Images) {
        const std::string name = AddJigsaw(image, o, scratch, siteDir);
        ok = ok && !name.empty();
        if (!name.empty()) list += name + "\n";
    }
    fs::remove_all(scratch, ec);
    ok = WriteBytes(JoinPath(siteDir, kServerInfoName), "ext: ." + o.Kind + "\nother: orvel jigsaw pack site\n") &&
         WriteBytes(JoinPath(o.ThumbDir, kCatalogueListName), list) && ok;
    return ok ? 0 : 1;
}

CommandRegistration packSiteCommand(
    {"pack-site", kUsage,
     "makes a download site (orvel/jigsaws_zent/ with info.dat and one pack per picture) "
     "and its catalogue (jiglist.txt and previews)",
     RunPackSite});

}  // namespace
}  // namespace orvel::tool

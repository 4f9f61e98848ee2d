// Game packages: a written package unpacks whole and once; hostile archives, each made here with libarchive's writer,
// are refused with the entry named, leaving nothing behind and writing nothing outside the package's folder.
#include "package/package.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/scratch.h"

namespace mem::test {
namespace {

namespace fs = std::filesystem;

struct ZipEntry {
    std::string name, content;
    unsigned type = AE_IFREG;
    std::string link;  // symbolic link target
};

// A zip of the entries; `store` leaves them uncompressed, `options` go to the writer.
std::string zip(const std::vector<ZipEntry>& entries, bool store = false, const char* options = nullptr) {
    std::vector<char> buffer(8 << 20);
    size_t used = 0;
    struct archive* out = archive_write_new();
    archive_write_set_format_zip(out);
    archive_write_set_passphrase(out, "secret");
    EXPECT_EQ(options ? archive_write_set_options(out, options) : ARCHIVE_OK, ARCHIVE_OK) << archive_error_string(out);
    archive_write_open_memory(out, buffer.data(), buffer.size(), &used);
    for (const ZipEntry& item : entries) {
        if (store || item.name == "mimetype") archive_write_zip_set_compression_store(out);
        else archive_write_zip_set_compression_deflate(out);
        struct archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, item.name.c_str());
        archive_entry_set_filetype(entry, item.type);
        archive_entry_set_perm(entry, 0644);
        if (item.type == AE_IFLNK) archive_entry_copy_symlink(entry, item.link.c_str());
        if (item.type == AE_IFREG) archive_entry_set_size(entry, static_cast<la_int64_t>(item.content.size()));
        EXPECT_EQ(archive_write_header(out, entry), ARCHIVE_OK) << item.name << archive_error_string(out);
        archive_write_data(out, item.content.data(), item.content.size());
        archive_entry_free(entry);
    }
    archive_write_close(out);
    archive_write_free(out);
    return std::string(buffer.data(), used);
}

// Sets the Unix file type the central directory records for `name` (libarchive's writer makes no devices or FIFOs).
std::string with_mode(std::string bytes, const std::string& name, unsigned mode) {
    for (size_t at = bytes.find("PK\1\2"); at != std::string::npos; at = bytes.find("PK\1\2", at + 4)) {
        if (bytes.compare(at + 46, name.size(), name) != 0) continue;
        bytes[at + 40] = static_cast<char>(mode & 0xFF);
        bytes[at + 41] = static_cast<char>(mode >> 8);
    }
    return bytes;
}

std::string renamed(std::string bytes, const std::string& from, const std::string& to) {
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
        bytes.replace(at, from.size(), to);
    return bytes;
}

const ZipEntry kMime{"mimetype", "application/x-memorygame"};
const ZipEntry kGame{"game.ini", "[application]\napp=memory\n"};

class Packages : public testing::Test {
public:
    void SetUp() override { fs::remove_all(dir); fs::create_directories(dir / "elsewhere"); }
    std::string file(const std::string& name, const std::string& bytes) const {
        return std::ofstream(dir / name, std::ios::binary) << bytes, (dir / name).string();
    }
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::string cache() const { return (dir / "cache").string(); }
    size_t cached() const {
        return fs::exists(dir / "cache") ? std::distance(fs::directory_iterator(dir / "cache"), {}) : 0;
    }
    const ScratchDir scratch{"packages"};
    const fs::path& dir = scratch.path;
};

TEST_F(Packages, WrittenPackageUnpacksOnceAndIsReused) {
    const std::string picture = file("card.bmp", std::string(3000, 'x'));
    const std::string package = (dir / "Klasse 3b.memorygame").string();
    ASSERT_EQ(package::write(package, {{"Klasse 3b.ini", "", "[paths]\ngfx=%gamepath%gfx\\\n"},
                                       {"cards/card.bmp", picture, ""}}), "");
    EXPECT_EQ(package::write(package, {}), package + " exists already");
    // The type shows in the first bytes: the "mimetype" entry, which the reader wants first, is stored uncompressed.
    EXPECT_NE(read(package).find("application/x-memorygame"), std::string::npos);
    const package::Unpacked first = package::unpack(package, cache());
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(first.definition, first.folder + "Klasse 3b.ini");
    EXPECT_EQ(read(first.folder + "cards/card.bmp"), std::string(3000, 'x'));
    EXPECT_FALSE(fs::exists(first.folder + "mimetype"));
    // A second start finds the same folder, unpacked already.
    fs::remove(first.folder + "cards/card.bmp");
    const package::Unpacked second = package::unpack(package, cache());
    EXPECT_EQ(std::tuple(second.folder, fs::exists(second.folder + "cards/card.bmp"), cached()),
              std::tuple(first.folder, false, size_t{1}));
}

TEST_F(Packages, HostileArchivesAreRefusedWholeAndNameTheEntry) {
    const std::string zeros(3 << 20, '\0');
    std::string varied(600, ' ');  // bytes that do not compress
    uint32_t x = 1;
    for (char& c : varied) c = static_cast<char>((x = x * 1103515245 + 12345) >> 24);
    std::vector<ZipEntry> many{kMime, kGame};
    for (int i = 0; i < 1998; ++i) many.push_back({"f" + std::to_string(i), ""});
    // What, the bytes, a part of the refusal (empty when the package is fine), the limits.
    const struct Case { const char* what; std::string bytes, refusal; package::Limits limits = {}; } cases[] = {
        {"a fine game", zip({kMime, kGame, {"data/", "", AE_IFDIR}, {"data/main.ini", "x"}}), ""},
        {"an absolute name", zip({kMime, kGame, {"/tmp/x", "x"}}), "entry \"/tmp/x\": an absolute name"},
        {"a parent part", zip({kMime, kGame, {"../elsewhere/x", "x"}}), "entry \"../elsewhere/x\": a \"..\" part"},
        {"a parent part inside", zip({kMime, kGame, {"gfx/../../x", "x"}}), "entry \"gfx/../../x\": a \"..\" part"},
        // The zip reader turns a backslash into a separator.
        {"a backslash", zip({kMime, kGame, {"..\\x", "x"}}), "entry \"../x\": a \"..\" part"},
        {"a symbolic link", zip({kMime, kGame, {"gfx", "", AE_IFLNK, "/etc"}}), "entry \"gfx\": a symbolic link"},
        // The zip reader gives a FIFO as a plain file.
        {"a FIFO", with_mode(zip({kMime, kGame, {"pipe", "x"}}), "pipe", 0010644), ""},
        {"a device", with_mode(zip({kMime, kGame, {"dev", "x"}}), "dev", 0020644), "entry \"dev\": a device, FIFO"},
        {"encrypted", zip({kMime, kGame, {"secret.txt", "x"}}, false, "zip:encryption=zipcrypt"), "\": encrypted"},
        {"a name not UTF-8", renamed(zip({kMime, kGame, {"xx.bmp", "x"}}), "xx.bmp", "\xff\xfe.bmp"),
         "entry 3: its name is not UTF-8"},
        {"2,000 entries", zip(many), ""},
        {"2,001 entries", [&] { auto more = many; more.push_back({"last", ""}); return zip(more); }(),
         "more than 2000 entries"},
        {"a bomb", zip({kMime, kGame, {"bomb.bmp", zeros}}), "entry \"bomb.bmp\": unpacks to more than 100 times"},
        {"zeros below the floor", zip({kMime, kGame, {"zeros.bmp", zeros.substr(0, 1 << 20)}}), ""},
        {"stored zeros", zip({kMime, kGame, {"zeros.bmp", zeros}}, true), ""},
        {"over the size limit", zip({kMime, kGame, {"a", varied}, {"b", varied}}),
         "entry \"b\": the package unpacks to more than", {2000, 1000}},
        {"a name twice", zip({kMime, kGame, {"a", "1"}, {"a", "2"}}), "entry \"a\": the name comes twice"},
        {"no definition", zip({kMime, {"data/main.ini", "x"}}), "no definition file"},
        {"two definitions", zip({kMime, kGame, {"other.ini", "x"}}), "more than one definition file"},
        {"no mimetype first", zip({kGame, kMime}), "its first entry is \"game.ini\""},
        {"another type", zip({{"mimetype", "application/zip"}, kGame}), "does not say application/x-memorygame"},
        {"not a zip", "PK\3\4 and then nonsense", "not a readable zip archive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        const package::Unpacked result = package::unpack(file("game.memorygame", c.bytes), cache(), c.limits);
        if (c.refusal.empty()) {
            EXPECT_EQ(std::pair(result.error, result.definition), std::pair(std::string(), result.folder + "game.ini"));
            for (const fs::directory_entry& item : fs::recursive_directory_iterator(result.folder))
                EXPECT_TRUE(item.is_regular_file() || item.is_directory()) << item.path();
            continue;
        }
        EXPECT_NE(result.error.find(c.refusal), std::string::npos) << result.error;
        EXPECT_TRUE(result.folder.empty() && cached() == 0 && fs::is_empty(dir / "elsewhere") && !fs::exists("/tmp/x"));
    }
}

}  // namespace
}  // namespace mem::test

#include <Poco/Path.h>
#include <Poco/Zip/Compress.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <zlib.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>
#include <vector>

#include "LauncherLib/CommandParams.h"
#include "LauncherLib/UnZipCommand.h"
#include "TempDir.h"
#include "ZipWriter.h"
#include "plat/drive_map.h"

using namespace LauncherLib;
using vael::test::ReadFile;
using vael::test::TempDir;
using vael::test::WriteFile;
using vael::test::WriteZip;
using vael::test::ZipEntry;
namespace fs = std::filesystem;

namespace {

struct Outcome {
    bool success = false;
    ResultMapPtr result = std::make_shared<ResultMap>();
};

// Runs the command on the archive at `archive` with the destination `dest` (host paths,
// handed to the command as the Windows paths the launcher would use).
Outcome Unpack(const fs::path& archive, const fs::path& dest) {
    std::string params = MapToJson({{"zipfile", plat::WindowsPathFromHost(archive)},
                                    {"destdir", plat::WindowsPathFromHost(dest) + "\\"}});
    CUnZipCommand command("UnzipCommand-1", params);
    Outcome outcome;
    command.Execute(outcome.result);
    outcome.success = command.IsSuccess();
    return outcome;
}

std::string Incompressible(std::size_t size) {
    std::string data(size, '\0');
    unsigned state = 12345;
    for (char& c : data) {
        state = state * 1103515245 + 12345;
        c = static_cast<char>(state >> 16);
    }
    return data;
}

struct ArchiveCase {
    const char* label;
    std::vector<ZipEntry> entries;
    bool success;
    std::map<std::string, std::string> files;  // relative UTF-8 path -> content
    std::vector<std::string> folders;
    std::vector<std::string> absent;  // relative paths that must not exist
    const char* errorMentions = "";   // a part of "Error" when the command fails
};

void PrintTo(const ArchiveCase& c, std::ostream* os) {
    *os << c.label;
}

const std::string kBlob = Incompressible(200000);

// An Info-ZIP Unicode Path extra field (0x7075) naming the entry `utf8`; it belongs to the raw
// name `raw` when its CRC-32 is that name's.
std::string UnicodePathField(const std::string& raw, const std::string& utf8, bool matching) {
    auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(raw.data()), static_cast<uInt>(raw.size())));
    if (!matching) {
        crc ^= 1;
    }
    std::string field = {'\x75', '\x70'};
    auto size = static_cast<std::uint16_t>(5 + utf8.size());
    field += static_cast<char>(size & 0xFF);
    field += static_cast<char>(size >> 8);
    field += '\x01';
    for (int shift = 0; shift < 32; shift += 8) {
        field += static_cast<char>((crc >> shift) & 0xFF);
    }
    return field + utf8;
}

std::vector<ArchiveCase> ArchiveCases() {
    return {
        {"folders, files, stored and deflated",
         {{.name = "data/"},
          {.name = "data/empty/"},
          {.name = "data/a.txt", .data = "alpha"},
          {.name = "data/sub/b.bin", .data = kBlob, .deflate = true},
          {.name = "top.txt", .data = std::string(100000, 'x'), .deflate = true}},
         true,
         {{"data/a.txt", "alpha"},
          {"data/sub/b.bin", kBlob},
          {"top.txt", std::string(100000, 'x')}},
         {"data/empty"}},
        {"deflated folder entry, then a file",
         {{.name = "dir/", .deflate = true}, {.name = "dir/after.txt", .data = "found"}},
         true,
         {{"dir/after.txt", "found"}},
         {"dir"}},
        {"entries with data descriptors",
         {{.name = "d1.txt", .data = "first", .deflate = true, .dataDescriptor = true},
          {.name = "d2.bin", .data = kBlob, .deflate = true, .dataDescriptor = true}},
         true,
         {{"d1.txt", "first"}, {"d2.bin", kBlob}}},
        {"GBK names",
         {{.name = "\xD6\xD0\xCE\xC4/", .deflate = false},
          {.name = "\xD6\xD0\xCE\xC4/\xD3\xCE\xCF\xB7.txt", .data = "game"}},
         true,
         {{"中文/游戏.txt", "game"}}},
        {"names flagged as UTF-8 and Unicode Path fields",
         {{.name = "表だよ/", .flags = 0x800},
          {.name = "表だよ/一覧表.txt", .data = "list", .flags = 0x800},
          {.name = "File 2 - \x94.txt",
           .data = "umlaut",
           .extra = UnicodePathField("File 2 - \x94.txt", "File 2 - ö.txt", true)},
          {.name = "\xD6\xD0.txt",
           .data = "stale",
           .extra = UnicodePathField("\xD6\xD0.txt", "other.txt", false)},
          {.name = "\xD3\xCE.txt", .data = "not UTF-8 after all", .flags = 0x800}},
         true,
         {{"表だよ/一覧表.txt", "list"},
          {"File 2 - ö.txt", "umlaut"},
          {"中.txt", "stale"},
          {"游.txt", "not UTF-8 after all"}},
         {"表だよ"},
         {"other.txt"}},
        {"a name that occurs twice unpacks in archive order",
         {{.name = "twice.txt", .data = "older"},
          {.name = "twice.txt", .data = "newer", .deflate = true},
          {.name = "after.txt", .data = "found"}},
         true,
         {{"twice.txt", "newer"}, {"after.txt", "found"}}},
        {"CRC mismatch deletes the file and fails; later entries still unpack",
         {{.name = "bad.txt", .data = "corrupted", .deflate = true, .corruptCrc = true},
          {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {"bad.txt"},
         "bad.txt"},
        {"CRC mismatch recorded in a data descriptor",
         {{.name = "bad.bin",
           .data = kBlob,
           .deflate = true,
           .dataDescriptor = true,
           .corruptCrc = true},
          {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {"bad.bin"},
         "bad.bin: CRC mismatch"},
        {"damaged compressed data",
         {{.name = "bad.bin", .data = kBlob, .deflate = true, .damagedData = true},
          {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {"bad.bin"},
         "bad.bin: ZIP Exception: The entry's compressed data is damaged"},
        {"a small damaged entry does not hide the entries after it",
         {{.name = "bad.txt", .data = "a few bytes", .deflate = true, .damagedData = true},
          {.name = "one.txt", .data = "first good", .deflate = true},
          {.name = "two.txt", .data = "second good"}},
         false,
         {{"one.txt", "first good"}, {"two.txt", "second good"}},
         {},
         {"bad.txt"},
         "bad.txt: ZIP Exception: The entry's compressed data is damaged"},
        {"a small damaged entry with a data descriptor, then good ones",
         {{.name = "bad.txt",
           .data = "a few bytes",
           .deflate = true,
           .dataDescriptor = true,
           .damagedData = true},
          {.name = "one.txt", .data = "first good", .deflate = true},
          {.name = "two.txt", .data = "second good"}},
         false,
         {{"one.txt", "first good"}, {"two.txt", "second good"}},
         {},
         {"bad.txt"},
         "bad.txt"},
        {"an entry without a name fails and is skipped",
         {{.name = "", .data = "nameless"}, {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {},
         "Illegal entry name"},
        {"size mismatch deletes the file and fails",
         {{.name = "short.txt", .data = "twelve bytes", .sizeError = 3},
          {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {"short.txt"},
         "short.txt"},
        {"unsupported method fails and is skipped",
         {{.name = "deflate64.bin", .data = "xxxx", .method = 9},
          {.name = "good.txt", .data = "fine"}},
         false,
         {{"good.txt", "fine"}},
         {},
         {"deflate64.bin"},
         "Unsupported compression method (9)"},
        {"names that leave the destination are skipped and fail",
         {{.name = "../evil1.txt", .data = "x"},
          {.name = "inner/../../evil2.txt", .data = "x"},
          {.name = "..\\evil3.txt", .data = "x"},
          {.name = "inner\\..\\..\\evil4.txt", .data = "x"},
          {.name = "/evil5.txt", .data = "x"},
          {.name = "\\evil6.txt", .data = "x"},
          {.name = "C:evil7.txt", .data = "x"},
          {.name = "C:\\evil8.txt", .data = "x"},
          {.name = "../evildir/"},
          {.name = "safe.txt", .data = "kept"}},
         false,
         {{"safe.txt", "kept"}},
         {},
         {"inner", "C:evil7.txt"},
         "../evil1.txt: ZIP Exception: Illegal entry name"},
    };
}

class UnzipArchiveCases : public ::testing::TestWithParam<ArchiveCase> {};

TEST_P(UnzipArchiveCases, UnpacksAndCounts) {
    const ArchiveCase& c = GetParam();
    TempDir temp;
    fs::path dest = temp / "out" / "game";
    fs::create_directories(dest.parent_path());
    WriteZip(temp / "a.zip", c.entries);

    Outcome outcome = Unpack(temp / "a.zip", dest);

    std::string count = std::to_string(c.entries.size());
    EXPECT_EQ(outcome.success, c.success) << outcome.result->Get("Error");
    EXPECT_EQ(outcome.result->Get("unzipTotalCount"), count);
    EXPECT_EQ(outcome.result->Get("unzipCount"), count);
    if (c.success) {
        EXPECT_EQ(outcome.result->Get("Error"), "");
    } else {
        EXPECT_NE(outcome.result->Get("Error").find(c.errorMentions), std::string::npos)
            << outcome.result->Get("Error");
    }
    for (const auto& [path, content] : c.files) {
        EXPECT_EQ(ReadFile(dest / fs::u8path(path)), content) << path;
    }
    for (const auto& folder : c.folders) {
        EXPECT_TRUE(fs::is_directory(dest / folder)) << folder;
    }
    for (const auto& path : c.absent) {
        EXPECT_FALSE(fs::exists(dest / path)) << path;
    }
    // Nothing lands next to or above the destination.
    for (const auto& item : fs::recursive_directory_iterator(temp.path())) {
        fs::path relative = fs::relative(item.path(), temp.path());
        bool inside = relative == "a.zip" || relative == "out" || relative == "out/game" ||
                      relative.string().starts_with("out/game/");
        EXPECT_TRUE(inside) << relative;
    }
}

INSTANTIATE_TEST_SUITE_P(Archives, UnzipArchiveCases, ::testing::ValuesIn(ArchiveCases()));

TEST(UnzipCommand, ReplacesAReadOnlyTarget) {
    TempDir temp;
    fs::create_directories(temp / "out");
    WriteFile(temp / "out" / "cfg.txt", "old content");
    fs::permissions(temp / "out" / "cfg.txt", fs::perms::owner_read);
    WriteZip(temp / "a.zip", {{.name = "cfg.txt", .data = "new"}});

    Outcome outcome = Unpack(temp / "a.zip", temp / "out");

    EXPECT_TRUE(outcome.success) << outcome.result->Get("Error");
    EXPECT_EQ(ReadFile(temp / "out" / "cfg.txt"), "new");
}

TEST(UnzipCommand, AnUnwritableDestinationFailsTheEntry) {
    TempDir temp;
    fs::create_directories(temp / "out" / "taken" / "inside");
    WriteZip(temp / "a.zip",
             {{.name = "taken", .data = "file over a folder"}, {.name = "next.txt", .data = "n"}});

    Outcome outcome = Unpack(temp / "a.zip", temp / "out");

    EXPECT_FALSE(outcome.success);
    EXPECT_NE(outcome.result->Get("Error").find("taken"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(temp / "out" / "taken" / "inside"));
    EXPECT_EQ(ReadFile(temp / "out" / "next.txt"), "n");
}

// A write that fails part-way (here: the file-size limit) removes the partial file and fails.
TEST(UnzipCommand, AWriteErrorRemovesThePartialFile) {
    TempDir temp;
    WriteZip(temp / "a.zip", {{.name = "big.bin", .data = kBlob, .deflate = true},
                              {.name = "small.txt", .data = "s"}});
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 50000;
    setrlimit(RLIMIT_FSIZE, &limited);

    Outcome outcome = Unpack(temp / "a.zip", temp / "out");

    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(outcome.success);
    EXPECT_NE(outcome.result->Get("Error").find("big.bin: write error"), std::string::npos)
        << outcome.result->Get("Error");
    EXPECT_FALSE(fs::exists(temp / "out" / "big.bin"));
    EXPECT_EQ(ReadFile(temp / "out" / "small.txt"), "s");
}

TEST(UnzipCommand, DamagedOrMissingArchivesFail) {
    TempDir temp;
    std::string whole = vael::test::BuildZip(
        {{.name = "a.bin", .data = kBlob, .deflate = true}, {.name = "b.txt", .data = "b"}});
    WriteFile(temp / "truncated.zip", whole.substr(0, whole.size() / 2));
    WriteFile(temp / "garbage.zip", "this is not an archive at all, just some text");
    WriteFile(temp / "empty.zip", "");

    for (const char* name : {"truncated.zip", "garbage.zip", "empty.zip", "missing.zip"}) {
        Outcome outcome = Unpack(temp / name, temp / "out");
        EXPECT_FALSE(outcome.success) << name;
        EXPECT_NE(outcome.result->Get("Error"), "") << name;
    }
    EXPECT_FALSE(fs::exists(temp / "out" / "a.bin"));
}

// Local headers that the ZIP library would read past (a ZIP64 extra field whose values end
// beyond the field) or stop on with an assertion refuse the archive before anything is unpacked.
TEST(UnzipCommand, LocalHeadersTheZipLibraryCannotParseRefuseTheArchive) {
    constexpr std::int64_t kToZip64Magic = 0xFFFFFFFFLL - 3;  // "abc" stored as 0xFFFFFFFF
    const std::string zip64Id = {'\x01', '\x00'};
    struct Case {
        const char* label;
        ZipEntry entry;
        const char* errorMentions;
    };
    const Case cases[] = {
        {"a ZIP64 field declaring 8 bytes that holds 2",
         {.name = "a.txt",
          .data = "abc",
          .sizeError = kToZip64Magic,
          .extra = zip64Id + std::string("\x08\x00\x03\x00", 4)},
         "ZIP64 extra field shorter than its values in the local header at byte 0"},
        {"a ZIP64 field whose second record claims the field's last 4 bytes as 8",
         {.name = "a.txt",
          .data = "abc",
          .sizeError = kToZip64Magic,
          .extra = zip64Id + std::string("\x10\x00\x03\0\0\0\0\0\0\0", 10) + zip64Id +
                   std::string("\x08\x00\0\0\0\0", 6)},
         "ZIP64 extra field shorter than its values"},
        {"a compression method the library does not know",
         {.name = "a.txt", .data = "abc", .method = 14},
         "Unsupported compression method (14) in the local header at byte 0"},
    };
    for (const Case& c : cases) {
        TempDir temp;
        WriteZip(temp / "a.zip", {c.entry, {.name = "after.txt", .data = "x"}});

        Outcome outcome = Unpack(temp / "a.zip", temp / "out");

        EXPECT_FALSE(outcome.success) << c.label;
        EXPECT_NE(outcome.result->Get("Error").find(c.errorMentions), std::string::npos)
            << c.label << ": " << outcome.result->Get("Error");
        EXPECT_FALSE(fs::exists(temp / "out" / "after.txt")) << c.label;
    }
}

// The end records after the central directory are not parsed: a ZIP64 end record claiming an
// exabyte of extensible data (the ZIP library allocated that much) leaves the archive as good as
// its entries.
TEST(UnzipCommand, AZip64EndRecordIsNotRead) {
    TempDir temp;
    std::string archive = vael::test::BuildZip({{.name = "a.txt", .data = "alpha"}});
    std::string zip64End = "PK\x06\x06";
    for (int shift = 0; shift < 64; shift += 8) {
        zip64End += static_cast<char>(((1ULL << 62) >> shift) & 0xFF);
    }
    zip64End += std::string(44, '\0');
    constexpr std::size_t kEndRecordSize = 22;
    archive.insert(archive.size() - kEndRecordSize, zip64End);
    WriteFile(temp / "a.zip", archive);

    Outcome outcome = Unpack(temp / "a.zip", temp / "out");

    EXPECT_TRUE(outcome.success) << outcome.result->Get("Error");
    EXPECT_EQ(ReadFile(temp / "out" / "a.txt"), "alpha");
}

TEST(UnzipCommand, ParametersThatAreNotJsonFail) {
    CUnZipCommand command("UnzipCommand-1", "not json");
    auto result = std::make_shared<ResultMap>();
    command.Execute(result);
    EXPECT_FALSE(command.IsSuccess());
    EXPECT_EQ(result->Get("error"), "fail to parse json value");
}

// Text that deflates well but not to nothing, different for every seed.
std::string Compressible(std::size_t size, unsigned seed) {
    static const char* const kWords[] = {"model ", "level ",  "texture ", "sound ",
                                         "1024 ",  "vertex ", "7 ",       "map\n"};
    std::string data;
    unsigned state = seed;
    while (data.size() < size) {
        state = state * 1103515245 + 12345;
        data += kWords[(state >> 16) % 8];
    }
    data.resize(size);
    return data;
}

// Many entries of every kind unpack into the same tree as one after the other would, and the
// published count only rises, from after the total is known up to that total.
TEST(UnzipCommand, ManyEntriesUnpackExactlyAndTheCountRises) {
    TempDir temp;
    std::vector<ZipEntry> entries;
    std::map<std::string, std::string> files;
    for (int i = 0; i < 120; ++i) {
        std::string folder = "part" + std::to_string(i % 7) + "/";
        if (i < 7) {
            entries.push_back({.name = folder});
        }
        std::string name = folder + "file" + std::to_string(i);
        std::string data = i % 3 == 0 ? Incompressible(1000 + 997 * i)
                                      : Compressible(500 + 3001 * i, static_cast<unsigned>(i));
        entries.push_back({.name = name,
                           .data = data,
                           .deflate = i % 3 != 2,
                           .dataDescriptor = i % 5 == 4 && i % 3 != 2});
        files[name] = data;
    }
    WriteZip(temp / "a.zip", entries);

    std::string params = MapToJson({{"zipfile", plat::WindowsPathFromHost(temp / "a.zip")},
                                    {"destdir", plat::WindowsPathFromHost(temp / "out")}});
    CUnZipCommand command("UnzipCommand-1", params);
    auto result = std::make_shared<ResultMap>();
    std::atomic<bool> done{false};
    std::vector<std::pair<std::string, std::string>> seen;  // (total, count) as polled
    std::thread poller([&] {
        while (!done) {
            auto count = result->Find("unzipCount");
            if (count && (seen.empty() || seen.back().second != *count)) {
                seen.emplace_back(result->Get("unzipTotalCount"), *count);
            }
            std::this_thread::yield();
        }
    });
    command.Execute(result);
    done = true;
    poller.join();

    std::string total = std::to_string(entries.size());
    EXPECT_TRUE(command.IsSuccess()) << result->Get("Error");
    EXPECT_EQ(result->Get("unzipCount"), total);
    int previous = 0;
    for (const auto& [polledTotal, count] : seen) {
        EXPECT_EQ(polledTotal, total);
        EXPECT_GE(std::stoi(count), previous);
        previous = std::stoi(count);
    }
    for (const auto& [name, data] : files) {
        EXPECT_EQ(ReadFile(temp / "out" / name), data) << name;
    }
}

// Cancelling while entries are unpacked fails the command, and no file is left half written.
TEST(UnzipCommand, CancellingLeavesNoPartialFile) {
    TempDir temp;
    std::vector<ZipEntry> entries = {{.name = "first.txt", .data = "first"}};
    for (int i = 0; i < 6; ++i) {
        entries.push_back({.name = "big" + std::to_string(i) + ".bin",
                           .data = Compressible(8 << 20, static_cast<unsigned>(i)),
                           .deflate = true});
    }
    WriteZip(temp / "a.zip", entries);

    std::string params = MapToJson({{"zipfile", plat::WindowsPathFromHost(temp / "a.zip")},
                                    {"destdir", plat::WindowsPathFromHost(temp / "out")}});
    CUnZipCommand command("UnzipCommand-1", params);
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    command.SetCancelFlag(cancel);
    auto result = std::make_shared<ResultMap>();
    std::thread canceller([&] {
        while (!result->Contains("unzipCount")) {
            std::this_thread::yield();
        }
        *cancel = true;
    });
    command.Execute(result);
    canceller.join();

    EXPECT_FALSE(command.IsSuccess());
    EXPECT_EQ(result->Get("Error"), "Unpacking cancelled");
    EXPECT_NE(result->Get("unzipCount"), std::to_string(entries.size()));
    for (const ZipEntry& entry : entries) {
        fs::path file = temp / "out" / entry.name;
        if (fs::exists(file)) {
            EXPECT_EQ(ReadFile(file), entry.data) << entry.name;
        }
    }
}

void CompressWithPoco(const fs::path& source, const fs::path& archive) {
    std::ofstream out(archive, std::ios::binary);
    Poco::Zip::Compress compress(out, true);
    compress.addRecursive(Poco::Path(source.string() + "/"));
    compress.close();
}

// Archives made by POCO and by the archivers users have (Info-ZIP's also with ZIP64 headers
// forced): the unpacked tree equals the packed one.
TEST(UnzipCommand, UnpacksArchivesFromPocoZipAndBsdtar) {
    TempDir temp;
    fs::path source = temp / "src";
    fs::create_directories(source / "bin");
    WriteFile(source / "bin" / "Play.exe", Incompressible(70000));
    WriteFile(source / "readme.txt", std::string(30000, 'r'));
    fs::create_directories(source / "saves");
    std::string inSource = "cd '" + source.string() + "' && ";
    ASSERT_EQ(std::system((inSource + "zip -qr ../zip.zip .").c_str()), 0);
    ASSERT_EQ(std::system((inSource + "bsdtar --format zip -cf ../bsdtar.zip .").c_str()), 0);
    ASSERT_EQ(std::system((inSource + "zip -q -fd - -r . > ../stream.zip").c_str()), 0);
    ASSERT_EQ(std::system((inSource + "zip -q -fz -r ../zip64.zip .").c_str()), 0);
    CompressWithPoco(source, temp / "poco.zip");

    for (const char* archive : {"zip.zip", "bsdtar.zip", "stream.zip", "zip64.zip", "poco.zip"}) {
        fs::path out = temp / (std::string("out-") + archive);
        Outcome outcome = Unpack(temp / archive, out);
        EXPECT_TRUE(outcome.success) << archive << ": " << outcome.result->Get("Error");
        EXPECT_EQ(ReadFile(out / "bin" / "Play.exe"), ReadFile(source / "bin" / "Play.exe"));
        EXPECT_EQ(ReadFile(out / "readme.txt"), ReadFile(source / "readme.txt"));
        EXPECT_TRUE(fs::is_directory(out / "saves")) << archive;
    }
}

// Archivers that mark UTF-8 names (bsdtar and Python's zipfile set general-purpose bit 11):
// Chinese, Japanese and Russian names land as they were packed, folders included.
TEST(UnzipCommand, UnpacksUtf8NamesOfArchiversThatFlagThem) {
    TempDir temp;
    fs::path source = temp / "src";
    const std::map<std::string, std::string> files = {
        {"表だよ/一覧表.txt", "japanese"},
        {"中文目录/游戏说明.txt", "chinese"},
        {"Привет/мир.txt", "russian"},
    };
    for (const auto& [path, content] : files) {
        WriteFile(source / fs::u8path(path), content);
    }
    std::string inSource = "cd '" + source.string() + "' && LC_ALL=C.UTF-8 ";
    ASSERT_EQ(std::system((inSource + "bsdtar --format zip -cf ../bsdtar.zip .").c_str()), 0);
    ASSERT_EQ(std::system((inSource + "/usr/bin/python3 -c \"import os, zipfile\n"
                                      "with zipfile.ZipFile('../python.zip', 'w') as z:\n"
                                      "    for d, _, fs in os.walk('.'):\n"
                                      "        for f in fs: z.write(os.path.join(d, f))\"")
                              .c_str()),
              0);

    for (const char* archive : {"bsdtar.zip", "python.zip"}) {
        fs::path out = temp / (std::string("out-") + archive);
        Outcome outcome = Unpack(temp / archive, out);
        EXPECT_TRUE(outcome.success) << archive << ": " << outcome.result->Get("Error");
        for (const auto& [path, content] : files) {
            EXPECT_EQ(ReadFile(out / fs::u8path(path)), content) << archive << " " << path;
        }
    }
}

}  // namespace

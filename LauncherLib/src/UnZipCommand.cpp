#include "LauncherLib/UnZipCommand.h"

#include <Poco/Exception.h>
#include <Poco/Zip/SkipCallback.h>

#include <fstream>

#include "ArchiveStream.h"
#include "ArchiveWalk.h"
#include "LauncherLib/CommandParams.h"
#include "MyDecompress.h"
#include "UnpackingCancelled.h"
#include "plat/files.h"

namespace LauncherLib {
namespace {

// Both passes read headers and seek over entry data (the extraction pass hands most entries to
// workers that read them through streams of their own), so a small buffer reads least.
constexpr std::size_t kCountingBufferSize = 4096;
constexpr std::size_t kExtractionBufferSize = 64 * 1024;
// The end-of-central-directory record: 22 bytes plus a comment of at most 65535 bytes.
constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kEndRecordSearch = kEndRecordSize + 0xFFFF;

// A truncated or foreign file has no end-of-central-directory record; without this check both
// passes would find no entry and report an empty success.
bool HasEndOfCentralDirectory(std::ifstream& stream) {
    stream.seekg(0, std::ios::end);
    auto size = static_cast<std::size_t>(stream.tellg());
    if (size < kEndRecordSize) {
        return false;
    }
    std::size_t tailSize = std::min(size, kEndRecordSearch);
    std::string tail(tailSize, '\0');
    stream.seekg(static_cast<std::streamoff>(size - tailSize));
    stream.read(tail.data(), static_cast<std::streamsize>(tailSize));
    stream.seekg(0);
    if (!stream) {
        return false;
    }
    return tail.rfind(std::string("PK\x05\x06", 4)) != std::string::npos;
}

int CountDirectoryEntries(ArchiveStream& archive) {
    Poco::Zip::SkipCallback skip;
    return WalkArchive(archive.Get(), skip);
}

}  // namespace

void CUnZipCommand::Execute(ResultMapPtr result) {
    auto params = ParseJsonParams(GetParams());
    if (!params) {
        SetFail();
        result->Set("error", "fail to parse json value");
        return;
    }
    std::string zipfile = (*params)["zipfile"];
    std::string destdir = (*params)["destdir"];
    try {
        Unpack(zipfile, destdir, result);
    } catch (const UnpackingCancelled& cancelled) {
        Fail(result, cancelled.what());
    } catch (const Poco::Exception& error) {
        Fail(result, error.displayText());
    } catch (const std::exception& error) {
        Fail(result, error.what());
    }
}

void CUnZipCommand::Unpack(const std::string& zipfile, const std::string& destdir,
                           const ResultMapPtr& result) {
    int totalCount = 0;
    {
        ArchiveStream archive(zipfile, kCountingBufferSize);
        if (!archive.IsOpen()) {
            return Fail(result, "Cannot open the archive " + zipfile);
        }
        if (!HasEndOfCentralDirectory(archive.Get())) {
            return Fail(result, "The archive is damaged or not a ZIP archive: " + zipfile);
        }
        totalCount = CountDirectoryEntries(archive);
    }
    result->Set("unzipTotalCount", std::to_string(totalCount));

    plat::CreateDirectoryA(destdir.c_str());

    MyDecompress decompress(destdir);
    decompress.SetCommand(this);
    decompress.SetResult(result);
    decompress.SetArchive(zipfile);
    {
        ArchiveStream archive(zipfile, kExtractionBufferSize);
        if (!archive.IsOpen()) {
            return Fail(result, "Cannot open the archive " + zipfile);
        }
        WalkArchive(archive.Get(), decompress);
    }
    decompress.Finish();

    SetTag("");
    if (!decompress.GetFirstFailure().empty()) {
        return Fail(result, "Unpacking failed at " + decompress.GetFirstFailure());
    }
    if (decompress.GetEntryCount() != totalCount) {
        return Fail(result,
                    "The archive is damaged: " + std::to_string(decompress.GetEntryCount()) +
                        " of " + std::to_string(totalCount) + " entries found");
    }
    SetSuccess();
}

void CUnZipCommand::Fail(const ResultMapPtr& result, const std::string& error) {
    SetFail();
    result->Set("Error", error);
}

}  // namespace LauncherLib

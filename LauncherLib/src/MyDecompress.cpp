#include "MyDecompress.h"

#include <Poco/Exception.h>
#include <Poco/File.h>
#include <Poco/Path.h>
#include <Poco/Zip/ZipException.h>
#include <Poco/Zip/ZipLocalFileHeader.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>

#include "UnpackingCancelled.h"
#include "ZipEntryName.h"
#include "ZipEntryReader.h"
#include "ZipText.h"
#include "plat/drive_map.h"
#include "plat/files.h"

namespace LauncherLib {
namespace {

constexpr std::size_t kCopyBufferSize = 8192;
// Entry data reaches the disk in large writes; the copy itself goes 8192 bytes at a time.
constexpr std::size_t kFileBufferSize = 1 << 20;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OutputFile = std::unique_ptr<std::FILE, FileCloser>;

std::string WithTrailingBackslash(std::string folder) {
    if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) {
        folder += '\\';
    }
    return folder;
}

// The entry's Windows path (UTF-8) below the destination folder.
std::string WindowsDestination(const std::string& outDir, std::string name) {
    for (char& c : name) {
        if (c == '/') {
            c = '\\';
        }
    }
    return outDir + name;
}

std::string HostDestination(const std::string& outDir, const std::string& name) {
    return plat::HostPathFromWindowsUtf8(WindowsDestination(outDir, name)).string();
}

// Clears the read-only flag of an existing destination so that it can be overwritten.
void ClearReadOnly(const std::string& outDir, const std::string& name) {
    std::wstring widePath = Utf8ToWide(WindowsDestination(outDir, name));
    plat::DWORD attributes = plat::GetFileAttributesW(widePath.c_str());
    if (attributes != plat::INVALID_FILE_ATTRIBUTES) {
        plat::SetFileAttributesW(widePath.c_str(), attributes & ~plat::FILE_ATTRIBUTE_READONLY);
    }
}

bool ExistsUnwritable(const Poco::File& file) {
    return file.exists() && !file.canWrite();
}

// After an entry that was not unpacked, the archive walk looks for the next entry from where the
// stream stands: an entry whose size is known is skipped whole, whatever of it was read.
void SkipEntryData(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header) {
    if (!header.searchCRCAndSizesAfterData()) {
        zipStream.clear();
        zipStream.seekg(header.getDataEndPos());
    }
}

}  // namespace

MyDecompress::MyDecompress(const std::string& destdir)
    : outDir(WithTrailingBackslash(GbkToUtf8(destdir))), fileBuffer(new char[kFileBufferSize]) {}

bool MyDecompress::handleZipEntry(std::istream& zipStream,
                                  const Poco::Zip::ZipLocalFileHeader& header) {
    CountEntry();
    // An entry without a name is neither folder nor file (the header's folder test would read
    // before the name).
    bool unpacked = header.getFileName().empty() ? Fail("", "Illegal entry name")
                    : header.isDirectory()       ? HandleFolderEntry(zipStream, header)
                                                 : HandleFileEntry(zipStream, header);
    if (!unpacked) {
        SkipEntryData(zipStream, header);
    }
    return unpacked;
}

void MyDecompress::CountEntry() {
    ++entryCount;
    if (command) {
        command->SetTag("UnzipPatchBegin");
        if (result) {
            result->Set("unzipCount", std::to_string(entryCount));
        }
        command->SetSuccess();
    }
}

bool MyDecompress::HandleFolderEntry(std::istream& zipStream,
                                     const Poco::Zip::ZipLocalFileHeader& header) {
    std::string name = EntryNameToUtf8(header);
    if (!IsSafeEntryName(name)) {
        return Fail(name, "Illegal entry name");
    }
    Poco::File(HostDestination(outDir, name)).createDirectories();
    if (header.getCompressionMethod() == Poco::Zip::ZipCommon::CM_DEFLATE) {
        char emptyDeflate[2];
        zipStream.read(emptyDeflate, sizeof emptyDeflate);
    }
    return true;
}

bool MyDecompress::HandleFileEntry(std::istream& zipStream,
                                   const Poco::Zip::ZipLocalFileHeader& header) {
    std::string name = EntryNameToUtf8(header);
    try {
        if (!IsSafeEntryName(name)) {
            throw Poco::Zip::ZipException("Illegal entry name", name);
        }
        if (!header.hasSupportedCompressionMethod()) {
            throw Poco::Zip::ZipException(
                "Unsupported compression method (" +
                    std::to_string(static_cast<int>(header.getCompressionMethod())) + ")",
                name);
        }
        return WriteFileEntry(zipStream, header, name);
    } catch (const UnpackingCancelled&) {
        throw;
    } catch (const Poco::Exception& error) {
        std::printf("%s \n", error.displayText().c_str());
        return Fail(name, error.displayText());
    } catch (const std::exception& error) {
        return Fail(name, error.what());
    }
}

bool MyDecompress::WriteFileEntry(std::istream& zipStream,
                                  const Poco::Zip::ZipLocalFileHeader& header,
                                  const std::string& name) {
    Poco::Path destination(HostDestination(outDir, name));
    if (destination.depth() > 0) {
        Poco::File(destination.parent()).createDirectories();
    }
    Poco::File file(destination);
    if (ExistsUnwritable(file)) {
        ClearReadOnly(outDir, name);
    }
    if (ExistsUnwritable(file)) {
        std::printf("The file can not write!!\n");
        return Fail(name, "The file can not write!!");
    }

    OutputFile output(std::fopen(destination.toString().c_str(), "wb"));
    if (!output) {
        return Fail(name, std::string("cannot create the file: ") + std::strerror(errno));
    }
    std::setvbuf(output.get(), fileBuffer.get(), _IOFBF, kFileBufferSize);

    ZipEntryReader entry(zipStream, header);
    std::string writeError;
    std::string readError;
    char buffer[kCopyBufferSize];
    try {
        while (std::size_t count = entry.Read(buffer, sizeof buffer)) {
            if (command && command->IsCancelled()) {
                output.reset();
                file.remove();
                throw UnpackingCancelled();
            }
            // After a failed write the rest of the entry is still read, so that the walk finds
            // the next entry right after this one.
            if (writeError.empty() && std::fwrite(buffer, 1, count, output.get()) != count) {
                writeError = std::strerror(errno);
            }
        }
    } catch (const Poco::Exception& error) {
        readError = error.displayText();
    }
    if (std::fclose(output.release()) != 0 && writeError.empty()) {
        writeError = std::strerror(errno);
    }

    if (!readError.empty()) {
        file.remove();
        return Fail(name, readError);
    }
    if (!writeError.empty()) {
        file.remove();
        return Fail(name, "write error: " + writeError);
    }
    if (!file.exists() || !file.isFile()) {
        return Fail(name, "the file is missing after writing");
    }
    if (!entry.CrcValid()) {
        file.remove();
        return Fail(name, "CRC mismatch");
    }
    if (file.getSize() != header.getUncompressedSize() && !header.searchCRCAndSizesAfterData()) {
        file.remove();
        return Fail(name, "size mismatch");
    }
    return true;
}

bool MyDecompress::Fail(const std::string& name, const std::string& reason) {
    if (firstFailure.empty()) {
        firstFailure = name + ": " + reason;
    }
    return false;
}

}  // namespace LauncherLib

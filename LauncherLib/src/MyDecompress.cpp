#include "MyDecompress.h"

#include <Poco/Exception.h>
#include <Poco/File.h>
#include <Poco/Path.h>
#include <Poco/Zip/ZipException.h>
#include <Poco/Zip/ZipLocalFileHeader.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <thread>

#include "UnpackingCancelled.h"
#include "ZipEntryName.h"
#include "ZipEntryRangeReader.h"
#include "ZipEntryReader.h"
#include "ZipText.h"
#include "plat/drive_map.h"
#include "plat/files.h"

namespace LauncherLib {
namespace {

// Entry data goes to the disk in blocks of this size, straight from the copy buffer; between
// blocks the copy looks whether the command was cancelled.
constexpr std::size_t kCopyBufferSize = 256 * 1024;
// Archive streams of the workers: the entry data is read in large blocks, past this buffer.
constexpr std::size_t kWorkerStreamBufferSize = 4096;
// Entries handed over but not yet taken by a worker, per worker.
constexpr std::size_t kWaitingPerWorker = 4;

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

std::size_t WorkerCount() {
    return std::max(1u, std::thread::hardware_concurrency());
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
    : outDir(WithTrailingBackslash(GbkToUtf8(destdir))),
      walkSpace{std::unique_ptr<char[]>(new char[kCopyBufferSize]), nullptr} {}

MyDecompress::~MyDecompress() {
    workers.reset();
}

bool MyDecompress::handleZipEntry(std::istream& zipStream,
                                  const Poco::Zip::ZipLocalFileHeader& header) {
    if (IsCancelled()) {
        throw UnpackingCancelled();
    }
    StartEntry();
    std::size_t index = walked++;
    // An entry without a name is neither folder nor file (the header's folder test would read
    // before the name).
    if (header.getFileName().empty()) {
        Fail(index, "", "Illegal entry name");
        EntryDone();
        SkipEntryData(zipStream, header);
        return false;
    }
    if (header.isDirectory()) {
        bool unpacked = HandleFolderEntry(zipStream, header, index);
        EntryDone();
        return unpacked;
    }
    Outcome outcome = HandleFileEntry(zipStream, header, index);
    if (outcome == Outcome::HandedOver) {
        return true;
    }
    EntryDone();
    if (outcome == Outcome::Failed) {
        SkipEntryData(zipStream, header);
        return false;
    }
    return true;
}

void MyDecompress::StartEntry() {
    if (command) {
        command->SetTag("UnzipPatchBegin");
        command->SetSuccess();
    }
}

// The handled count rises as entries are done, on the walk or on a worker, and never goes back.
void MyDecompress::EntryDone() {
    std::lock_guard<std::mutex> guard(lock);
    ++entryCount;
    if (command && result) {
        result->Set("unzipCount", std::to_string(entryCount));
    }
}

bool MyDecompress::HandleFolderEntry(std::istream& zipStream,
                                     const Poco::Zip::ZipLocalFileHeader& header,
                                     std::size_t index) {
    std::string name = EntryNameToUtf8(header);
    if (!IsSafeEntryName(name)) {
        return Fail(index, name, "Illegal entry name");
    }
    Poco::File(HostDestination(outDir, name)).createDirectories();
    if (header.getCompressionMethod() == Poco::Zip::ZipCommon::CM_DEFLATE) {
        char emptyDeflate[2];
        zipStream.read(emptyDeflate, sizeof emptyDeflate);
    }
    return true;
}

MyDecompress::Outcome MyDecompress::HandleFileEntry(std::istream& zipStream,
                                                    const Poco::Zip::ZipLocalFileHeader& header,
                                                    std::size_t index) {
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
    } catch (const Poco::Exception& error) {
        std::printf("%s \n", error.displayText().c_str());
        Fail(index, name, error.displayText());
        return Outcome::Failed;
    }
    // A later entry of the same name waits for the earlier one, as a walk in order would.
    WaitWhileBusy(HostDestination(outDir, name));
    if (CanHandOver(header)) {
        HandOver(header, name, index);
        zipStream.clear();
        zipStream.seekg(header.getDataEndPos());
        return Outcome::HandedOver;
    }
    try {
        ZipEntryReader content(zipStream, header);
        return UnpackFile(content, header, name, index, walkSpace.buffer.get()) ? Outcome::Unpacked
                                                                                : Outcome::Failed;
    } catch (const Poco::Exception& error) {
        Fail(index, name, error.displayText());
        return Outcome::Failed;
    }
}

// An entry whose sizes are only in a data descriptor has no known end before it is read.
bool MyDecompress::CanHandOver(const Poco::Zip::ZipLocalFileHeader& header) const {
    return !archive.empty() && !header.searchCRCAndSizesAfterData();
}

void MyDecompress::HandOver(const Poco::Zip::ZipLocalFileHeader& header, const std::string& name,
                            std::size_t index) {
    if (!workers) {
        workerSpaces.resize(WorkerCount());
        workers = std::make_unique<WorkerPool>(workerSpaces.size(),
                                               kWaitingPerWorker * workerSpaces.size());
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        busyDestinations.insert(HostDestination(outDir, name));
    }
    workers->Post([this, header, name, index](std::size_t worker) {
        UnpackOnWorker(worker, header, name, index);
    });
}

void MyDecompress::UnpackOnWorker(std::size_t worker, const Poco::Zip::ZipLocalFileHeader& header,
                                  const std::string& name, std::size_t index) {
    Workspace& space = workerSpaces[worker];
    // A cancelled entry is not done: the count stays below the total.
    bool done = !IsCancelled();
    try {
        if (!space.buffer) {
            space.buffer.reset(new char[kCopyBufferSize]);
            space.archive = std::make_unique<ArchiveStream>(archive, kWorkerStreamBufferSize);
        }
        if (done && !space.archive->IsOpen()) {
            Fail(index, name, "Cannot open the archive " + archive);
        } else if (done) {
            ZipEntryRangeReader content(space.archive->Get(), header);
            UnpackFile(content, header, name, index, space.buffer.get());
        }
    } catch (const UnpackingCancelled&) {
        done = false;
    } catch (const std::exception& error) {
        Fail(index, name, error.what());
    }
    if (done) {
        EntryDone();
    }
    {
        std::lock_guard<std::mutex> guard(lock);
        busyDestinations.erase(HostDestination(outDir, name));
    }
    destinationFreed.notify_all();
}

// Unpacks one file entry; a failure is recorded and answered with false. Cancelling throws
// UnpackingCancelled after removing the partial file.
bool MyDecompress::UnpackFile(EntryContent& content, const Poco::Zip::ZipLocalFileHeader& header,
                              const std::string& name, std::size_t index, char* buffer) {
    try {
        return WriteFileEntry(content, header, name, index, buffer);
    } catch (const UnpackingCancelled&) {
        throw;
    } catch (const Poco::Exception& error) {
        std::printf("%s \n", error.displayText().c_str());
        return Fail(index, name, error.displayText());
    } catch (const std::exception& error) {
        return Fail(index, name, error.what());
    }
}

bool MyDecompress::WriteFileEntry(EntryContent& content,
                                  const Poco::Zip::ZipLocalFileHeader& header,
                                  const std::string& name, std::size_t index, char* buffer) {
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
        return Fail(index, name, "The file can not write!!");
    }

    OutputFile output(std::fopen(destination.toString().c_str(), "wb"));
    if (!output) {
        return Fail(index, name, std::string("cannot create the file: ") + std::strerror(errno));
    }
    // The copy buffer is large: the blocks go to the file as they are.
    std::setvbuf(output.get(), nullptr, _IONBF, 0);

    std::string writeError;
    std::string readError;
    try {
        while (std::size_t count = content.Read(buffer, kCopyBufferSize)) {
            if (IsCancelled()) {
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
        return Fail(index, name, readError);
    }
    if (!writeError.empty()) {
        file.remove();
        return Fail(index, name, "write error: " + writeError);
    }
    if (!file.exists() || !file.isFile()) {
        return Fail(index, name, "the file is missing after writing");
    }
    if (!content.CrcValid()) {
        file.remove();
        return Fail(index, name, "CRC mismatch");
    }
    if (file.getSize() != header.getUncompressedSize() && !header.searchCRCAndSizesAfterData()) {
        file.remove();
        return Fail(index, name, "size mismatch");
    }
    return true;
}

void MyDecompress::WaitWhileBusy(const std::string& destination) {
    std::unique_lock<std::mutex> guard(lock);
    destinationFreed.wait(guard, [&] { return busyDestinations.count(destination) == 0; });
}

void MyDecompress::Finish() {
    if (workers) {
        workers->Wait();
    }
    if (IsCancelled()) {
        throw UnpackingCancelled();
    }
}

bool MyDecompress::IsCancelled() const {
    return command && command->IsCancelled();
}

int MyDecompress::GetEntryCount() const {
    std::lock_guard<std::mutex> guard(lock);
    return entryCount;
}

std::string MyDecompress::GetFirstFailure() const {
    std::lock_guard<std::mutex> guard(lock);
    return firstFailure;
}

bool MyDecompress::Fail(std::size_t index, const std::string& name, const std::string& reason) {
    std::lock_guard<std::mutex> guard(lock);
    if (firstFailure.empty() || index < firstFailureIndex) {
        firstFailure = name + ": " + reason;
        firstFailureIndex = index;
    }
    return false;
}

}  // namespace LauncherLib

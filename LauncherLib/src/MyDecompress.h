// The per-entry handler of the extraction pass: called by the archive walk for every local
// entry, it writes the entry below the destination folder and publishes the handled count.
// File entries whose sizes the local header gives are handed to one worker per core, which
// reads the entry's data through an archive stream of its own while the walk goes on; folders
// and entries whose end is found only by reading them are unpacked on the walk itself. Every
// entry is streamed through a fixed buffer, so memory does not grow with an entry's size.
#pragma once

#include <Poco/Zip/ParseCallback.h>

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "ArchiveStream.h"
#include "EntryContent.h"
#include "LauncherLib/CommandBase.h"
#include "LauncherLib/ResultMap.h"
#include "WorkerPool.h"

namespace LauncherLib {

class MyDecompress : public Poco::Zip::ParseCallback {
public:
    // `destdir` is the destination folder as a GBK Windows path.
    explicit MyDecompress(const std::string& destdir);
    // Lets the entries handed to the workers finish (they stop early when cancelled).
    ~MyDecompress() override;

    bool handleZipEntry(std::istream& zipStream,
                        const Poco::Zip::ZipLocalFileHeader& header) override;

    void SetCommand(CCommandBase* running) { command = running; }
    void SetResult(ResultMapPtr map) { result = std::move(map); }
    // The archive being walked (GBK Windows path): only with it are entries handed to workers.
    void SetArchive(std::string zipfile) { archive = std::move(zipfile); }

    // Waits until every entry handed to the workers is done; throws UnpackingCancelled when
    // the command was cancelled meanwhile.
    void Finish();

    // Entries done so far, failed ones included.
    int GetEntryCount() const;
    // Empty while every entry so far was unpacked; else why the first failed one (in archive
    // order) failed.
    std::string GetFirstFailure() const;

private:
    enum class Outcome { Unpacked, Failed, HandedOver };
    // What one thread needs to unpack entries: a copy buffer and, on a worker, a stream of
    // the archive opened on first use.
    struct Workspace {
        std::unique_ptr<char[]> buffer;
        std::unique_ptr<ArchiveStream> archive;
    };

    void StartEntry();
    void EntryDone();
    bool HandleFolderEntry(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header,
                           std::size_t index);
    Outcome HandleFileEntry(std::istream& zipStream, const Poco::Zip::ZipLocalFileHeader& header,
                            std::size_t index);
    bool CanHandOver(const Poco::Zip::ZipLocalFileHeader& header) const;
    void HandOver(const Poco::Zip::ZipLocalFileHeader& header, const std::string& name,
                  std::size_t index);
    void UnpackOnWorker(std::size_t worker, const Poco::Zip::ZipLocalFileHeader& header,
                        const std::string& name, std::size_t index);
    bool UnpackFile(EntryContent& content, const Poco::Zip::ZipLocalFileHeader& header,
                    const std::string& name, std::size_t index, char* buffer);
    bool WriteFileEntry(EntryContent& content, const Poco::Zip::ZipLocalFileHeader& header,
                        const std::string& name, std::size_t index, char* buffer);
    void WaitWhileBusy(const std::string& destination);
    bool IsCancelled() const;
    bool Fail(std::size_t index, const std::string& name, const std::string& reason);

    std::string outDir;
    std::string archive;
    int entryCount = 0;
    std::size_t walked = 0;
    CCommandBase* command = nullptr;
    ResultMapPtr result;
    std::string firstFailure;
    std::size_t firstFailureIndex = 0;

    mutable std::mutex lock;  // guards the count, the failure and the busy destinations
    std::condition_variable destinationFreed;
    std::set<std::string> busyDestinations;  // files being written by a worker

    Workspace walkSpace;
    std::vector<Workspace> workerSpaces;
    std::unique_ptr<WorkerPool> workers;  // started for the first entry handed over
};

}  // namespace LauncherLib

// Control of Windows.Storage file loads and Windows.Storage.Streams writers.
#pragma once

#include "Export.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sim {

// Windows.Storage.StorageFile.GetFileFromPathAsync: how its operations complete.
enum class FileLoadCompletion {
    Inline,     // before GetFileFromPathAsync returns, on the calling thread
    OwnThread,  // each on a runtime thread, at once (the default)
    Manual,     // when a test calls CompleteFileLoads, on a runtime thread
};
SIMRT_API void SetFileLoadCompletion(FileLoadCompletion mode);
SIMRT_API long FileLoadsStarted();
SIMRT_API long PendingFileLoads();
// Completes up to `count` pending loads (all for -1), oldest first, each where
// the runtime delivers (a runtime thread by default): a file that exists
// yields a StorageFile, a path that is not absolute fails with E_INVALIDARG,
// any other with HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). Returns how many
// were completed.
SIMRT_API long CompleteFileLoads(long count = -1);
// Waits (pumping) for the loads that run on runtime threads.
SIMRT_API void WaitForFileLoads();

// DataWriter.WriteBytes: calls, their counts, and bytes copied out of the
// caller's memory since Reset. With copying off the writer only counts (for
// sizes a test cannot allocate); its store then adds nothing to the stream.
SIMRT_API void SetDataWriterCopiesBytes(bool copies);
SIMRT_API std::vector<uint32_t> DataWriterWriteSizes();
SIMRT_API uint64_t DataWriterBytesCopied();

}  // namespace sim

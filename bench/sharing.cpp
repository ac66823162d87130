// Sharing an encoded image of N bytes: how many copies of the host's bytes
// exist before a target asks for them (none: the share keeps only the host's
// pointer) and after (one: the write into the in-memory stream handed to the
// target), with the process's peak memory at each step. Then, for 512 MiB,
// how long the host's thread stalls when a share ends while a target copies
// the bytes (it waits for the piece being copied), against the whole copy.
// Run by hand: bench_sharing.exe [megabytes]   (default 64)
#include "SimRuntime.h"
#include "Timing.h"
#include "tavlet.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Memory {
    double peakWorkingSetMiB, peakCommitMiB, commitMiB;
};

Memory ProcessMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return Memory{counters.PeakWorkingSetSize / 1048576.0, counters.PeakPagefileUsage / 1048576.0,
                  counters.PagefileUsage / 1048576.0};
}

int completions = 0;
void TAVLET_CALL OnShared(const char*, void*, const void*) { ++completions; }

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void Report(const char* step, double bytes, double size) {
    Memory memory = ProcessMemory();
    std::printf("%-30s %5.2f copies | peak working set %7.1f MiB | peak commit %7.1f MiB | commit %7.1f MiB\n", step,
                bytes / size, memory.peakWorkingSetMiB, memory.peakCommitMiB, memory.commitMiB);
}

// The whole copy of a share of `size` bytes, and the longest stall of this
// (the host's) thread when it ends a share mid-copy by WinRTSharingTerminate,
// at several points of the copy (the window's next share leaves a share whose
// target reads its bytes alone).
void ReportStall(HWND window, size_t size) {
    std::vector<unsigned char> image(size, 0x5A);
    auto share = [&] {
        WinRTShareDataForWindow(window, L"Image", nullptr, nullptr, image.data(), image.size(), nullptr, &OnShared,
                                nullptr);
        sim::ShareUIRequestData(window);
    };
    share();
    sim::ShareUIChooseTarget(window, L"Photos");
    double start = Seconds();
    sim::ShareUIRequestBitmap(window);
    const double whole = Seconds() - start;
    sim::ShareUIComplete(window);
    Pump();

    double longest = 0;
    for (double point : {0.1, 0.3, 0.5, 0.7, 0.9}) {
        share();
        const uint64_t before = sim::DataWriterBytesCopied();
        sim::Background target([&] { sim::ShareUIRequestBitmap(window); });
        for (double until = Seconds() + 60; sim::DataWriterBytesCopied() - before < point * double(size);) {
            if (Seconds() > until) return;  // the copy never got there: no line
            Sleep(0);
        }
        start = Seconds();
        WinRTSharingTerminate();
        longest = std::max(longest, Seconds() - start);
        target.Finish();
        sim::ShareUIDismiss(window);
    }
    std::printf("stall when a share ends mid-copy: %.1f ms; whole copy: %.1f ms; ratio %.3f\n", longest * 1000,
                whole * 1000, longest / whole);
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    const size_t size = megabytes << 20;
    sim::InstallContextStandIn();  // where the platform cannot enter a COM context itself (Wine)
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    sim::Reset();
    sim::SetDataProviderDeadline(600000);  // measures the copies, not how long a target waits
    HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);

    std::printf("sharing a %zu MiB image (host bytes: %zu MiB)\n", megabytes, megabytes);
    std::vector<unsigned char> image(size);
    for (size_t i = 0; i < size; i += 4096) image[i] = static_cast<unsigned char>(i >> 12);  // touch every page
    Report("host bytes allocated", 0, double(size));

    if (WinRTShareDataForWindow(window, L"Image", L"bench", nullptr, image.data(), image.size(), nullptr, &OnShared,
                                nullptr) != S_OK) {
        std::printf("share failed (is the simulated runtime registered?)\n");
        return 1;
    }
    sim::ShareUIRequestData(window);
    sim::ShareUIChooseTarget(window, L"Photos");
    Report("share open, target chosen", double(sim::DataWriterBytesCopied()), double(size));

    sim::ShareUIRequestBitmap(window);
    auto package = sim::ShareUIPackage(window);
    Report("target asked for the bitmap", double(sim::DataWriterBytesCopied()), double(size));
    std::printf("  delivered %s, stream %.1f MiB, WriteBytes calls %zu\n", package.bitmapDelivered ? "yes" : "no",
                package.bitmapSize / 1048576.0, sim::DataWriterWriteSizes().size());

    sim::ShareUIComplete(window);
    Pump();
    Report("share completed", double(sim::DataWriterBytesCopied()), double(size));
    std::printf("  host callbacks: %d\n", completions);
    const bool delivered = package.bitmapDelivered && completions == 1;
    ReportStall(window, size_t(512) << 20);
    DestroyWindow(window);
    return delivered ? 0 : 1;
}

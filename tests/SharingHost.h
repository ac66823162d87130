// The sharing tests' fixtures: a host window with its share UI, the kinds of
// share, and every callback the host was told, with its thread.
#pragma once

#include "Host.h"

#include <mutex>
#include <string>
#include <tuple>
#include <vector>

namespace sharing_test {

// Every host callback as it arrived: its target, file, bytes and thread.
struct Completion { std::string target, path; const void* data; DWORD thread; };

// Each sharing test runs twice: with the manager's events raised on the
// window's thread (as on Windows) and on the runtime's threads.
class ShareEventsTest : public ApartmentTest, public testing::WithParamInterface<sim::ShareEvents> {
protected:
    void SetUp() override { ApartmentTest::SetUp(); sim::SetShareEvents(GetParam()); }
};
#define INSTANTIATE_FOR_BOTH_SHARE_EVENT_THREADS(Fixture)                                                   \
    INSTANTIATE_TEST_SUITE_P(                                                                              \
        Events, Fixture, testing::Values(sim::ShareEvents::WindowThread, sim::ShareEvents::RuntimeThreads), \
        [](const auto& i) { return i.param == sim::ShareEvents::WindowThread ? "OnWindowThread" : "OnRuntimeThreads"; })

class SharingTest : public ShareEventsTest {
public:
    HRESULT ShareBytes(const wchar_t* title = L"Photo", uint64_t size = 0, const char* bytes = nullptr) {
        return WinRTShareDataForWindow(window_, title, nullptr, nullptr, bytes ? bytes : image_.data(),
                                       size ? size : image_.size(), this, &OnData, nullptr);
    }
    HRESULT ShareText(const wchar_t* title, _WinRTShareProvider* provider = nullptr) {
        return WinRTShareDataForWindow(window_, title, L"about", L"text", nullptr, 0, nullptr, nullptr, provider);
    }
    HRESULT ShareFile(const char* path) {
        return WinRTShareFileForWindow(window_, L"Photo", L"about", path, this, &OnFile, nullptr);
    }
    long Handlers(const wchar_t* event = nullptr) {
        if (event) return sim::ShareEventHandlers(window_, event);
        return Handlers(L"DataRequested") + Handlers(L"TargetApplicationChosen");
    }
    static void TAVLET_CALL OnData(const char* target, void* self, const void* data) {
        static_cast<SharingTest*>(self)->Add({target ? target : "<null>", {}, data, GetCurrentThreadId()});
    }
    static void TAVLET_CALL OnFile(const char* target, void* self, const char* path) {
        static_cast<SharingTest*>(self)->Add({target ? target : "<null>", path, nullptr, GetCurrentThreadId()});
    }
    void Add(Completion call) { std::lock_guard guard(lock_); calls_.push_back(std::move(call)); }
    std::vector<Completion> Told() { std::lock_guard guard(lock_); return calls_; }
    size_t Calls() { return Told().size(); }
    Completion At(size_t i) { return Told().at(i); }
    bool PumpUntilCalls(size_t count) { return sim::PumpUntil([&] { return Calls() == count; }); }
    // The window's next share, an image, which gets only its own content.
    void ShareAnImageThatGetsOnlyItsOwn() {
        ASSERT_EQ(ShareBytes(L"Image share"), S_OK);
        ui_.Data().Providers({L"Mail"});
        EXPECT_EQ(sim::ShareUIProviderTitles(window_), std::vector<std::wstring>{L"Mail"});
        const auto p = sim::ShareUIPackage(window_);
        EXPECT_EQ(std::tuple(p.title, p.hasDescription || p.hasText, p.formats, p.storageItems.size(),
                             p.shareCompletedHandlers),
                  std::tuple(L"Image share", false, std::vector<std::wstring>{L"Bitmap"}, 0u, 1));
        ui_.Complete();
    }

    host::Window window_;
    const host::ShareUI ui_{window_};
    host::TempFile file_{L"-shared.png"};  // a file to share, or a provider's icon
    const std::string path_{file_.path.begin(), file_.path.end()};
    std::mutex lock_;
    std::vector<Completion> calls_;
    const std::string image_ = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(4000, 'B');
};

}  // namespace sharing_test

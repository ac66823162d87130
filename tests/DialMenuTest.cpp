// The radial controller's menu: ids, built-in-icon items, icon items loaded one
// after another on commit, Invoked callbacks and their suppression window.
#include "DialTestSupport.h"

#include <thread>

namespace {

using dialtest::DialTest;
using dialtest::TempFiles;

std::atomic<int> itemA{0};
std::atomic<int> itemB{0};
std::atomic<DWORD> itemThread{0};
void TAVLET_CALL ItemA() {
    itemThread = GetCurrentThreadId();
    ++itemA;
}
void TAVLET_CALL ItemB() { ++itemB; }

class DialMenuTest : public DialTest {
protected:
    void SetUp() override {
        DialTest::SetUp();
        itemA = 0;
        itemB = 0;
        itemThread = 0;
    }
    uint32_t Known(_WinRTDial* dial, const wchar_t* text, DialMenuItemHandler handler = nullptr,
                   const void* reserved = nullptr) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, reserved, text, handler, &id), S_OK);
        return id;
    }
    uint32_t Icon(_WinRTDial* dial, const std::wstring& path, const wchar_t* text,
                  DialMenuItemHandler handler = nullptr) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, path.c_str(), text, handler, &id), S_OK);
        return id;
    }
    static uint32_t Count(_WinRTDial* dial) {
        uint32_t count = 12345;
        EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, &count), S_OK);
        return count;
    }
    TempFiles files_;
};

// Ids are process-wide; ctest runs every test in a process of its own.
TEST_F(DialMenuTest, Ids_FirstTwoItemsOfAnyKindGetOneAndTwo_NullHandleTakesNone) {
    _WinRTDial* dial = Create();
    uint32_t untouched = 55;
    EXPECT_EQ(WinRTDialAppendKnownMenuItem(nullptr, nullptr, L"none", nullptr, &untouched), S_OK);
    EXPECT_EQ(WinRTDialAppendIconMenuItem(nullptr, L"C:\\none.png", L"none", nullptr, &untouched), S_OK);
    EXPECT_EQ(untouched, 55u);
    const uint32_t first = Icon(dial, files_.Make(L"one.png"), L"one");
    expectedSurvivors_ += dialtest::kKeptPerDial;
    if (first != 1) GTEST_SKIP() << "ids are process-wide and earlier tests of this process took some";
    EXPECT_EQ(Known(dial, L"two"), 2u);
    EXPECT_EQ(Known(dial, L"three"), 3u);
    // A null id address is refused before an id is taken.
    EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", nullptr, nullptr), E_FAIL);
    EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, L"C:\\x.png", L"x", nullptr, nullptr), E_FAIL);
    EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, nullptr), E_FAIL);
    EXPECT_EQ(Icon(dial, files_.Make(L"four.png"), L"four"), 4u);
    // Clearing, terminating and a new dial do not reset the ids.
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    _WinRTDial* next = Create();
    EXPECT_EQ(Known(next, L"five"), 5u);
    EXPECT_EQ(WinRTDialClearMenu(next), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, KnownItem_UsesInkColorWhateverTheSecondArgument_AndIsSelectedAndTagged) {
    _WinRTDial* dial = Create();
    int local = 0;
    const void* reserved[] = {nullptr, reinterpret_cast<const void*>(1), &local,
                              reinterpret_cast<const void*>(~uintptr_t(0))};
    for (long i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const uint32_t id = Known(dial, L"ink", nullptr, reserved[i]);
        EXPECT_EQ(sim::MenuItemKnownIcon(0, i), 6);
        EXPECT_EQ(sim::MenuItemText(0, i), L"ink");
        EXPECT_EQ(sim::MenuItemTag(0, i), static_cast<long>(id));
        EXPECT_EQ(sim::SelectedMenuItem(), i);
    }
    EXPECT_EQ(Count(dial), 4u);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    EXPECT_EQ(Count(dial), 0u);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, IconItems_ReachTheMenuInQueueOrderThroughOneCommit) {
    enum class Way { TestThread, RuntimeThread, Inline };
    const std::pair<const char*, Way> ways[] = {
        {"completed on the host's thread", Way::TestThread},
        {"completed on a runtime thread", Way::RuntimeThread},
        {"completed before the load call returns", Way::Inline},
    };
    const std::wstring paths[] = {files_.Make(L"a.png"), files_.Make(L"b.png"), files_.Make(L"c.png")};
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        sim::Reset();
        sim::SetFileLoadCompletion(way == Way::Inline ? sim::FileLoadCompletion::Inline : sim::FileLoadCompletion::Manual);
        _WinRTDial* dial = Create();
        uint32_t ids[3];
        ids[0] = Icon(dial, paths[0], L"a", ItemA);
        ids[1] = Icon(dial, paths[1], L"b");
        ids[2] = Icon(dial, paths[2], L"c");
        EXPECT_EQ(Count(dial), 0u);
        EXPECT_EQ(sim::FileLoadsStarted(), 0);
        EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        if (way == Way::TestThread) {
            // One load at a time: each completion adds its item and starts the next.
            for (uint32_t n = 1; n <= 3; ++n) {
                EXPECT_EQ(sim::FileLoadsStarted(), static_cast<long>(n));
                EXPECT_EQ(sim::CompleteFileLoads(1), 1);
                EXPECT_EQ(Count(dial), n);
            }
        } else if (way == Way::RuntimeThread) {
            std::thread runtime([] {
                CoInitializeEx(nullptr, COINIT_MULTITHREADED);
                while (sim::CompleteFileLoads(1) == 1) {
                }
                CoUninitialize();
            });
            runtime.join();
        }
        EXPECT_EQ(sim::FileLoadsStarted(), 3);
        EXPECT_EQ(sim::PendingFileLoads(), 0);
        ASSERT_EQ(Count(dial), 3u);
        for (long i = 0; i < 3; ++i) {
            EXPECT_EQ(sim::MenuItemIconPath(0, i), paths[i]);
            EXPECT_EQ(sim::MenuItemKnownIcon(0, i), -1);
            EXPECT_EQ(sim::MenuItemTag(0, i), static_cast<long>(ids[i]));
        }
        EXPECT_EQ(sim::MenuItemText(0, 1), L"b");
        EXPECT_EQ(sim::SelectedMenuItem(), 2);
        // A commit with nothing queued changes nothing.
        EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        EXPECT_EQ(sim::FileLoadsStarted(), 3);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
        EXPECT_EQ(WinRTDialTerminate(), S_OK);
    }
    // Every round's dial left its controller and configuration, with an empty menu.
    expectedSurvivors_ += 3 * dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, MissingSecondFile_AddsOnlyTheFirstAndLeavesTheThirdForTheNextCommit) {
    _WinRTDial* dial = Create();
    const std::wstring first = files_.Make(L"first.png");
    const std::wstring third = files_.Make(L"third.png");
    Icon(dial, first, L"first");
    Icon(dial, files_.Missing(L"second.png"), L"second", ItemB);
    const uint32_t thirdId = Icon(dial, third, L"third");
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 2);  // the failed load ends the chain
    EXPECT_EQ(sim::FileLoadsStarted(), 2);
    EXPECT_EQ(sim::PendingFileLoads(), 0);
    EXPECT_EQ(Count(dial), 1u);
    EXPECT_EQ(sim::MenuItemIconPath(0, 0), first);

    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(Count(dial), 2u);
    EXPECT_EQ(sim::MenuItemIconPath(0, 1), third);
    EXPECT_EQ(sim::MenuItemTag(0, 1), static_cast<long>(thirdId));
    EXPECT_EQ(itemB, 0);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, KnownItemAfterACommit_CanPrecedeEarlierIconItems_AndClearLeavesLoadsInFlight) {
    _WinRTDial* dial = Create();
    Icon(dial, files_.Make(L"icon.png"), L"icon");
    Icon(dial, files_.Make(L"dropped.png"), L"dropped");
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    Known(dial, L"known");
    EXPECT_EQ(sim::MenuItemText(0, 0), L"known");
    // Clearing discards what is queued, not what is loading: that item still
    // arrives, in the cleared menu, and the chain ends with it.
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    EXPECT_EQ(Count(dial), 0u);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(Count(dial), 1u);
    EXPECT_EQ(sim::MenuItemText(0, 0), L"icon");
    EXPECT_EQ(sim::FileLoadsStarted(), 1);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 1);

    // A menu that cannot be cleared keeps everything.
    Icon(dial, files_.Make(L"kept.png"), L"kept");
    sim::FailNext("IVector<RadialControllerMenuItem>.Clear", 1, E_ACCESSDENIED);
    EXPECT_EQ(WinRTDialClearMenu(dial), E_ACCESSDENIED);
    EXPECT_EQ(Count(dial), 1u);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    EXPECT_EQ(Count(dial), 2u);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, Invoked_FirstWithinFourSecondsOfAnAdditionIsSwallowed_TheNextDelivered) {
    _WinRTDial* dial = Create();
    Known(dial, L"a", ItemA);
    // The echo of the addition's selection, from whichever item.
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(itemA, 0);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(itemA, 1);
    EXPECT_EQ(itemThread, GetCurrentThreadId());

    // Each addition opens a new window; the callback runs on the runtime's thread.
    Known(dial, L"b", ItemB);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0, true), S_OK);
    EXPECT_EQ(itemA, 1);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0, true), S_OK);
    EXPECT_EQ(itemA, 2);
    EXPECT_NE(itemThread, GetCurrentThreadId());
    EXPECT_EQ(sim::InvokeMenuItem(0, 1), S_OK);
    EXPECT_EQ(itemB, 1);

    // An item whose selection failed stays in the menu without a callback.
    sim::FailNext("IRadialControllerMenu.SelectMenuItem", 1, E_ACCESSDENIED);
    uint32_t id = 0;
    EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"c", ItemB, &id), E_ACCESSDENIED);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(Count(dial), 3u);
    EXPECT_EQ(sim::InvokeMenuItem(0, 2), S_OK);  // swallowed: the window was opened
    EXPECT_EQ(sim::InvokeMenuItem(0, 2), S_OK);
    EXPECT_EQ(itemB, 1);
    EXPECT_EQ(sim::MenuItemTag(0, 2), -1);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, Invoked_FourSecondsAfterTheAddition_IsDelivered) {
    _WinRTDial* dial = Create();
    Known(dial, L"a", ItemA);
    Sleep(4100);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(itemA, 1);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(itemA, 2);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

TEST_F(DialMenuTest, ReplacedDial_ItsLoadsAndInvokedEventsReachNothing) {
    _WinRTDial* old = Create();
    Known(old, L"old", ItemA);
    EXPECT_EQ(sim::InvokeMenuItem(1, 0), S_OK);  // closes the window
    Icon(old, files_.Make(L"late.png"), L"late", ItemA);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(old), S_OK);

    _WinRTDial* current = Create();
    std::thread runtime([] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        sim::CompleteFileLoads();
        CoUninitialize();
    });
    runtime.join();
    EXPECT_EQ(sim::MenuItemCount(1), 1);  // the old menu did not grow
    EXPECT_EQ(Count(current), 0u);
    EXPECT_EQ(sim::InvokeMenuItem(1, 0), S_OK);
    EXPECT_EQ(sim::InvokeMenuItem(1, 0, true), S_OK);
    EXPECT_EQ(itemA, 0);

    // After Terminate no dial is current at all.
    Known(current, L"new", ItemB);
    EXPECT_EQ(sim::InvokeMenuItem(2, 0), S_OK);
    EXPECT_EQ(sim::InvokeMenuItem(2, 0), S_OK);
    EXPECT_EQ(itemB, 1);
    EXPECT_EQ(WinRTDialTerminate(), S_OK);
    EXPECT_EQ(sim::InvokeMenuItem(2, 0), S_OK);
    EXPECT_EQ(itemB, 1);
    // Both menus keep their one item (with its tag) for the life of the process.
    expectedSurvivors_ += 2 * dialtest::kKeptPerDial + 2 * 2;
}

TEST_F(DialMenuTest, Failures_EndTheStepWhereTheyHappen) {
    struct Case {
        const char* member;
        HRESULT fault;
        HRESULT expected;
        uint32_t itemsAfter;
    };
    // Built-in-icon items: every step of the addition can fail; the id is used up.
    const Case cases[] = {
        {"IRadialControllerMenuItemStatics.CreateFromKnownIcon", E_INVALIDARG, E_INVALIDARG, 0},
        {"IRadialControllerMenuItem.add_Invoked", E_ACCESSDENIED, E_ACCESSDENIED, 0},
        {"IVector<RadialControllerMenuItem>.Append", E_OUTOFMEMORY, E_FAIL, 0},
        {"IRadialControllerMenu.SelectMenuItem", E_ACCESSDENIED, E_ACCESSDENIED, 1},
        {"IPropertyValueStatics.CreateUInt32", E_OUTOFMEMORY, E_FAIL, 1},
        {"IRadialControllerMenuItem.put_Tag", E_ACCESSDENIED, E_ACCESSDENIED, 1},
    };
    _WinRTDial* dial = Create();
    uint32_t lastId = Known(dial, L"first");
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.member);
        sim::FailNext(c.member, 1, c.fault);
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, nullptr, L"x", ItemA, &id), c.expected);
        EXPECT_EQ(id, ++lastId);
        EXPECT_EQ(Count(dial), c.itemsAfter);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }

    // A load that cannot start loses its record; the rest stay queued.
    Icon(dial, files_.Make(L"lost.png"), L"lost");
    Icon(dial, files_.Make(L"next.png"), L"next");
    sim::FailNext("IStorageFileStatics.GetFileFromPathAsync", 1, E_ACCESSDENIED);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), E_ACCESSDENIED);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(Count(dial), 1u);
    EXPECT_EQ(sim::MenuItemText(0, 0), L"next");

    // A completion whose steps fail adds nothing and stops the chain.
    const char* completionSteps[] = {"IAsyncOperation.GetResults", "IRandomAccessStreamReferenceStatics.CreateFromFile",
                                     "IRadialControllerMenuItemStatics.CreateFromIcon"};
    for (const char* member : completionSteps) {
        SCOPED_TRACE(member);
        Icon(dial, files_.Make(L"fails.png"), L"fails");
        Icon(dial, files_.Make(L"waits.png"), L"waits");
        sim::FailNext(member, 1, E_ACCESSDENIED);
        EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        EXPECT_EQ(sim::CompleteFileLoads(), 1);
        EXPECT_EQ(Count(dial), 1u);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);  // also drops "waits"
        Known(dial, L"next");
    }
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    expectedSurvivors_ += dialtest::kKeptPerDial;
}

}  // namespace

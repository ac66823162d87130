// The radial controller's menu: ids, built-in-icon items, icon items loaded one
// after another on commit, Invoked callbacks and their suppression window.
#include "DialTestSupport.h"

namespace {

using namespace dialtest;

class DialMenuTest : public DialTest {
protected:
    uint32_t Known(_WinRTDial* dial, DialMenuItemHandler handler = nullptr, const void* reserved = nullptr) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendKnownMenuItem(dial, reserved, L"known", handler, &id), S_OK);
        return id;
    }
    uint32_t Icon(_WinRTDial* dial, const std::wstring& path) {
        uint32_t id = 0;
        EXPECT_EQ(WinRTDialAppendIconMenuItem(dial, path.c_str(), L"icon", nullptr, &id), S_OK);
        return id;
    }
    TempFiles files_;
};

// Ids are process-wide; ctest runs every test in a process of its own.
TEST_F(DialMenuTest, IdsOneAndTwoGoToTheFirstTwoItems_KnownIconIsAlwaysInkColor) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    if (Icon(dial, files_.Make(L"one.png")) != 1) GTEST_SKIP() << "earlier tests of this process took ids";
    uint32_t count = 0;
    const void* reserved[] = {nullptr, &count, reinterpret_cast<const void*>(~uintptr_t(0))};
    for (long i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Known(dial, nullptr, reserved[i]), i + 2u);
        EXPECT_EQ(sim::MenuItemKnownIcon(0, i), 6);
        EXPECT_EQ(sim::MenuItemTag(0, i), i + 2);
        EXPECT_EQ(sim::SelectedMenuItem(), i);
    }
    EXPECT_EQ(WinRTDialGetNumberOfMenuItems(dial, &count), S_OK);
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    EXPECT_EQ(sim::MenuItemCount(), 0);
}

TEST_F(DialMenuTest, IconItems_ReachTheMenuInQueueOrderThroughOneCommit) {
    enum class Way { TestThread, RuntimeThread, Inline };
    const std::wstring paths[] = {files_.Make(L"a.png"), files_.Make(L"b.png"), files_.Make(L"c.png")};
    for (Way way : {Way::TestThread, Way::RuntimeThread, Way::Inline}) {
        SCOPED_TRACE(static_cast<int>(way));
        sim::SetFileLoadCompletion(way == Way::Inline ? sim::FileLoadCompletion::Inline
                                                      : sim::FileLoadCompletion::Manual);
        const long loadsBefore = sim::FileLoadsStarted();
        _WinRTDial* dial = Create();
        expectedSurvivors_ += kKeptPerDial;
        uint32_t ids[3];
        for (int i = 0; i < 3; ++i) ids[i] = Icon(dial, paths[i]);
        EXPECT_EQ(sim::MenuItemCount(), 0);
        EXPECT_EQ(sim::FileLoadsStarted(), loadsBefore);
        EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        if (way == Way::RuntimeThread) { EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 3); }
        for (long n = 1; way == Way::TestThread && n <= 3; ++n) {
            // One load at a time: each completion adds its item and starts the next.
            EXPECT_EQ(sim::FileLoadsStarted() - loadsBefore, n);
            EXPECT_EQ(sim::CompleteFileLoads(1), 1);
            EXPECT_EQ(sim::MenuItemCount(), n);
        }
        EXPECT_EQ(sim::FileLoadsStarted() - loadsBefore, 3);
        ASSERT_EQ(sim::MenuItemCount(), 3);
        for (long i = 0; i < 3; ++i) {
            EXPECT_EQ(sim::MenuItemIconPath(0, i), paths[i]);
            EXPECT_EQ(sim::MenuItemTag(0, i), static_cast<long>(ids[i]));
        }
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
}

TEST_F(DialMenuTest, MissingSecondFile_AddsOnlyTheFirstAndLeavesTheThirdForTheNextCommit) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    const std::wstring first = files_.Make(L"first.png"), third = files_.Make(L"third.png");
    Icon(dial, first);
    Icon(dial, first + L".missing");
    const uint32_t thirdId = Icon(dial, third);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 2);  // the failed load ends the chain
    EXPECT_EQ(sim::MenuItemCount(), 1);
    EXPECT_EQ(sim::MenuItemIconPath(0, 0), first);

    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::CompleteFileLoads(), 1);
    ASSERT_EQ(sim::MenuItemCount(), 2);
    EXPECT_EQ(sim::MenuItemIconPath(0, 1), third);
    EXPECT_EQ(sim::MenuItemTag(0, 1), static_cast<long>(thirdId));
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
}

TEST_F(DialMenuTest, Invoked_SelectionEchoIsSwallowed_TheHostsFirstClickDelivered) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    // Selecting each new item raises its Invoked: that echo is what the window swallows.
    Known(dial, NotifyA);
    EXPECT_EQ(Hits::a, 0);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(Hits::a, 1);
    EXPECT_TRUE(Hits::onRuntimeThread);
    Known(dial, NotifyB);
    EXPECT_EQ(sim::InvokeMenuItem(0, 1), S_OK);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(std::pair(Hits::a.load(), Hits::b.load()), std::pair(2, 1));
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
}

TEST_F(DialMenuTest, Invoked_FirstWithinFourSecondsOfAnAdditionIsSwallowed_TheNextDelivered) {
    sim::SetMenuSelectionEchoes(false);  // a menu whose selection raises nothing
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    // Each addition opens the window; the event it swallows may come from any item.
    for (auto callback : {NotifyA, NotifyB}) {
        Known(dial, callback);
        EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
        EXPECT_EQ(Hits::a, callback == NotifyB ? 1 : 0);
        EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
        EXPECT_EQ(Hits::a, callback == NotifyB ? 2 : 1);
    }
    EXPECT_EQ(sim::InvokeMenuItem(0, 1), S_OK);
    EXPECT_EQ(Hits::b, 1);
    // The window lasts four seconds.
    Known(dial, NotifyB);
    Sleep(4100);
    EXPECT_EQ(sim::InvokeMenuItem(0, 2), S_OK);
    EXPECT_EQ(Hits::b, 2);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
}

// A clear while an icon load completes on a runtime thread, wherever the
// completion is held: once both are done, an item is in the menu only if
// invoking it reaches its callback.
TEST_F(DialMenuTest, ClearWhileAnIconLoadCompletes_EveryItemLeftInTheMenuReachesItsCallback) {
    const std::wstring icon = files_.Make(L"racing.png");
    // Held before its item reaches the menu, the completion adds it to the
    // cleared menu; held after, the clear removes it.
    const std::pair<const char*, long> points[] = {{"IRadialControllerMenuItemStatics.CreateFromIcon", 1},
                                                   {"IVector<RadialControllerMenuItem>.Append", 1},
                                                   {"IRadialControllerMenu.SelectMenuItem", 0},
                                                   {"IPropertyValueStatics.CreateUInt32", 0}};
    for (const auto& [point, left] : points) {
        SCOPED_TRACE(point);
        _WinRTDial* dial = Create();
        expectedSurvivors_ += kKeptPerDial;
        uint32_t id = 0;
        ASSERT_EQ(WinRTDialAppendIconMenuItem(dial, icon.c_str(), L"icon", NotifyA, &id), S_OK);
        ASSERT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
        sim::HoldNext(point);
        sim::Background completing([] { sim::CompleteFileLoads(1); });
        ASSERT_TRUE(sim::WaitUntilHeld(point));
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
        sim::Release(point);
        ASSERT_TRUE(completing.Finish());
        ASSERT_TRUE(sim::WaitForRuntimeIdle());
        // The selection's echo, if the item got that far, has been swallowed.
        Hits::Reset();
        ASSERT_EQ(sim::MenuItemCount(), left);
        for (long i = 0; i < left; ++i) EXPECT_EQ(sim::InvokeMenuItem(0, i), S_OK);
        EXPECT_EQ(Hits::a, left);
        EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    }
}

// A commit with nothing queued starts nothing; a built-in-icon item appended
// while queued icons load lands before them.
TEST_F(DialMenuTest, Commit_NothingQueuedStartsNothing_AKnownItemOvertakesQueuedIcons) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 0);
    const std::wstring a = files_.Make(L"a.png"), b = files_.Make(L"b.png");
    Icon(dial, a);
    Icon(dial, b);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    Known(dial);
    EXPECT_EQ(sim::MenuItemCount(), 1);
    EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 2);
    ASSERT_EQ(sim::MenuItemCount(), 3);
    EXPECT_EQ(sim::MenuItemKnownIcon(0, 0), 6);
    EXPECT_EQ(sim::MenuItemIconPath(0, 1), a);
    EXPECT_EQ(sim::MenuItemIconPath(0, 2), b);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(sim::FileLoadsStarted(), 2);
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
}

// A clear the runtime refuses keeps the callbacks and the queue; after a
// clear, an Invoked already on its way finds no callback.
TEST_F(DialMenuTest, Clear_RefusedKeepsEverything_AfterwardsAnInvokedCallsNothing) {
    _WinRTDial* dial = Create();
    expectedSurvivors_ += kKeptPerDial;
    Known(dial, NotifyA);  // its selection echo is swallowed
    Icon(dial, files_.Make(L"queued.png"));
    sim::FailNext("IVector<RadialControllerMenuItem>.Clear", 1, E_ACCESSDENIED);
    EXPECT_EQ(WinRTDialClearMenu(dial), E_ACCESSDENIED);
    EXPECT_EQ(sim::InvokeMenuItem(0, 0), S_OK);
    EXPECT_EQ(Hits::a, 1);
    EXPECT_EQ(WinRTDialCommitPendingMenuAdditions(dial), S_OK);
    EXPECT_EQ(CompleteLoadsOnARuntimeThread(), 1);
    EXPECT_EQ(sim::MenuItemCount(), 2);

    sim::HoldNext("RadialControllerMenuItem.Invoked");
    sim::Background invoked([] { sim::InvokeMenuItem(0, 0); });
    ASSERT_TRUE(sim::WaitUntilHeld("RadialControllerMenuItem.Invoked"));
    EXPECT_EQ(WinRTDialClearMenu(dial), S_OK);
    sim::Release("RadialControllerMenuItem.Invoked");
    EXPECT_TRUE(invoked.Finish());
    EXPECT_EQ(Hits::a, 1);
    EXPECT_EQ(sim::MenuItemCount(), 0);
}

}  // namespace

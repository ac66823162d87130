// The C control API (tavlet_sim.h): thin wrappers over the control API the
// tests use, with C types only across the boundary.
#include "tavlet_sim.h"

#include "SimRuntime.h"

#include <algorithm>
#include <cwchar>
#include <optional>

namespace {

std::wstring Text(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

std::string Narrow(const wchar_t* text) {
    std::string result;
    for (const wchar_t* c = text ? text : L""; *c; ++c) result += static_cast<char>(*c);  // member names are ASCII
    return result;
}

int CopyText(const std::wstring& text, wchar_t* buffer, int capacity) {
    if (buffer && capacity > 0) {
        const size_t count = std::min(text.size(), static_cast<size_t>(capacity - 1));
        std::wmemcpy(buffer, text.data(), count);
        buffer[count] = L'\0';
    }
    return static_cast<int>(text.size());
}

int NoText(wchar_t* buffer, int capacity) {
    if (buffer && capacity > 0) buffer[0] = L'\0';
    return -1;
}

std::vector<std::wstring> Lines(const wchar_t* text) {
    std::vector<std::wstring> lines;
    const std::wstring all = Text(text);
    for (size_t start = 0; start < all.size();) {
        size_t end = all.find(L'\n', start);
        if (end == std::wstring::npos) end = all.size();
        if (end > start) lines.push_back(all.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

sim::DialEventData EventData(double degrees, int buttonPressed) {
    sim::DialEventData data;
    data.rotationDeltaInDegrees = degrees;
    data.isButtonPressed = buttonPressed != 0;
    data.hasContact = false;
    return data;
}

HRESULT Raise(int event, const sim::DialEventData& data, int controller) {
    if (event < TAVLET_SIM_DIAL_ROTATION_CHANGED || event > TAVLET_SIM_DIAL_CONTROL_LOST) return E_INVALIDARG;
    return sim::RaiseDialEvent(static_cast<sim::DialEvent>(event), data, controller);
}

}  // namespace

extern "C" {

void TAVLET_SIM_CALL TavletSimReset(void) { sim::Reset(); }
int TAVLET_SIM_CALL TavletSimLiveObjects(void) { return static_cast<int>(sim::LiveObjects()); }
int TAVLET_SIM_CALL TavletSimObjectsKeptByRuntime(void) {
    return static_cast<int>(sim::ObjectsKeptByRadialControllers() + sim::LiveRadialControllerConfigurations());
}
int TAVLET_SIM_CALL TavletSimWaitForRuntimeIdle(uint32_t timeoutMs) { return sim::WaitForRuntimeIdle(timeoutMs); }
void TAVLET_SIM_CALL TavletSimPumpFor(uint32_t ms) { sim::PumpFor(ms); }
int TAVLET_SIM_CALL TavletSimScriptPlaying(void) { return sim::ScriptedUserPlaying(); }
void TAVLET_SIM_CALL TavletSimSetWindowsBuild(uint32_t build) { sim::SetWindowsBuild(build); }
uint32_t TAVLET_SIM_CALL TavletSimWindowsBuild(void) { return sim::WindowsBuild(); }
void TAVLET_SIM_CALL TavletSimSetPackaged(int packaged) { sim::SetPackaged(packaged != 0); }
int TAVLET_SIM_CALL TavletSimIsPackaged(void) { return sim::IsPackaged(); }
void TAVLET_SIM_CALL TavletSimFailNext(const wchar_t* member, int count, HRESULT hr) {
    sim::FailNext(Narrow(member), count, hr);
}
void TAVLET_SIM_CALL TavletSimFailAlways(const wchar_t* member, HRESULT hr) { sim::FailAlways(Narrow(member), hr); }
void TAVLET_SIM_CALL TavletSimClearFaults(void) { sim::ClearFaults(); }

void TAVLET_SIM_CALL TavletSimSetRadialControllerSupported(int supported) {
    sim::SetRadialControllerSupported(supported != 0);
}
void TAVLET_SIM_CALL TavletSimSetSharingSupported(int supported) { sim::SetSharingSupported(supported != 0); }
void TAVLET_SIM_CALL TavletSimSetTypePresent(const wchar_t* typeName, int present) {
    sim::SetTypePresent(Text(typeName), present != 0);
}

int TAVLET_SIM_CALL TavletSimDialCount(void) { return static_cast<int>(sim::RadialControllersCreated()); }
HWND TAVLET_SIM_CALL TavletSimDialWindow(int controller) { return sim::RadialControllerWindow(controller); }
int TAVLET_SIM_CALL TavletSimDialHandlers(int event, int controller) {
    if (event < TAVLET_SIM_DIAL_ROTATION_CHANGED || event > TAVLET_SIM_DIAL_CONTROL_LOST) return 0;
    return static_cast<int>(sim::DialEventHandlers(static_cast<sim::DialEvent>(event), controller));
}
HRESULT TAVLET_SIM_CALL TavletSimRaiseDialEvent(int event, double degrees, int buttonPressed, int controller) {
    return Raise(event, EventData(degrees, buttonPressed), controller);
}
HRESULT TAVLET_SIM_CALL TavletSimRaiseDialEventAt(int event, double degrees, int buttonPressed, double x, double y,
                                                  double left, double top, double width, double height,
                                                  int controller) {
    auto data = EventData(degrees, buttonPressed);
    data.hasContact = true;
    data.positionX = static_cast<float>(x);
    data.positionY = static_cast<float>(y);
    data.boundsX = static_cast<float>(left);
    data.boundsY = static_cast<float>(top);
    data.boundsWidth = static_cast<float>(width);
    data.boundsHeight = static_cast<float>(height);
    return Raise(event, data, controller);
}

int TAVLET_SIM_CALL TavletSimSetWindowInFront(HWND window) { return sim::SetWindowInFront(window); }
void TAVLET_SIM_CALL TavletSimSelectSystemDialTool(void) { sim::SelectSystemDialTool(); }
void TAVLET_SIM_CALL TavletSimSetDialMenuShown(int shown) { sim::SetDialMenuShown(shown != 0); }
void TAVLET_SIM_CALL TavletSimSetDialOnScreen(int onScreen) { sim::SetDialOnScreen(onScreen != 0); }

int TAVLET_SIM_CALL TavletSimMenuItemCount(int controller) { return static_cast<int>(sim::MenuItemCount(controller)); }
int TAVLET_SIM_CALL TavletSimMenuItemText(int controller, int index, wchar_t* buffer, int capacity) {
    if (index < 0 || index >= sim::MenuItemCount(controller)) return NoText(buffer, capacity);
    return CopyText(sim::MenuItemText(controller, index), buffer, capacity);
}
HRESULT TAVLET_SIM_CALL TavletSimInvokeMenuItem(int controller, int index) {
    return sim::InvokeMenuItem(controller, index);
}

int TAVLET_SIM_CALL TavletSimTileRequestCount(void) { return static_cast<int>(sim::TileRequestCount()); }
int TAVLET_SIM_CALL TavletSimPendingTileRequest(void) { return static_cast<int>(sim::PendingTileRequest()); }
int TAVLET_SIM_CALL TavletSimTileRequestTileId(int request, wchar_t* buffer, int capacity) {
    if (request < 0 || request >= sim::TileRequestCount()) return NoText(buffer, capacity);
    return CopyText(sim::TileRequestAt(request).tileId, buffer, capacity);
}
int TAVLET_SIM_CALL TavletSimCompleteTileRequest(int request, int confirmed) {
    return sim::CompleteTileRequest(request, confirmed != 0);
}
int TAVLET_SIM_CALL TavletSimFailTileRequest(int request, HRESULT error) {
    return sim::FailTileRequest(request, error);
}
int TAVLET_SIM_CALL TavletSimCancelTileRequest(int request) { return sim::CancelTileRequest(request); }
int TAVLET_SIM_CALL TavletSimIsTilePinned(const wchar_t* tileId) { return sim::IsTilePinned(Text(tileId)); }
void TAVLET_SIM_CALL TavletSimSetTilePinned(const wchar_t* tileId, int pinned) {
    sim::SetTilePinned(Text(tileId), pinned != 0);
}

int TAVLET_SIM_CALL TavletSimTileUpdateCount(void) {
    size_t count = 0;
    for (long i = 0, updaters = sim::TileUpdaterCount(); i < updaters; ++i)
        count += sim::TileUpdaterAt(i).updates.size();
    return static_cast<int>(count);
}
// Updaters are kept in creation order; the latest update is the last one of
// the newest updater that received any.
std::optional<sim::TileUpdateRecord> LastTileUpdate() {
    for (long i = sim::TileUpdaterCount() - 1; i >= 0; --i) {
        auto updater = sim::TileUpdaterAt(i);
        if (!updater.updates.empty()) return updater.updates.back();
    }
    return std::nullopt;
}
int TAVLET_SIM_CALL TavletSimLastTileUpdateXml(wchar_t* buffer, int capacity) {
    const auto update = LastTileUpdate();
    return update ? CopyText(update->xml, buffer, capacity) : NoText(buffer, capacity);
}
int TAVLET_SIM_CALL TavletSimLastTileUpdateShown(void) {
    const auto update = LastTileUpdate();
    return update ? int(update->shown) : -1;
}

HWND TAVLET_SIM_CALL TavletSimOpenShareWindow(void) { return sim::OpenShareUIWindow(); }
int TAVLET_SIM_CALL TavletSimIsShareUIOpen(HWND window) { return sim::IsShareUIOpen(window); }
void TAVLET_SIM_CALL TavletSimSetShareEventsOnRuntimeThreads(int onRuntimeThreads) {
    sim::SetShareEvents(onRuntimeThreads ? sim::ShareEvents::RuntimeThreads : sim::ShareEvents::WindowThread);
}
void TAVLET_SIM_CALL TavletSimSetDataProviderDeadline(DWORD ms) { sim::SetDataProviderDeadline(ms); }
int TAVLET_SIM_CALL TavletSimLateProviderData(void) { return static_cast<int>(sim::LateProviderData()); }
HRESULT TAVLET_SIM_CALL TavletSimShareRequestData(HWND window) { return sim::ShareUIRequestData(window); }
HRESULT TAVLET_SIM_CALL TavletSimShareRequestProviders(HWND window, const wchar_t* installedTargets) {
    return sim::ShareUIRequestProviders(window, Lines(installedTargets));
}
int TAVLET_SIM_CALL TavletSimShareProviderTitle(HWND window, int index, wchar_t* buffer, int capacity) {
    const auto titles = sim::ShareUIProviderTitles(window);
    if (index < 0 || index >= static_cast<int>(titles.size())) return NoText(buffer, capacity);
    return CopyText(titles[index], buffer, capacity);
}
HRESULT TAVLET_SIM_CALL TavletSimShareChooseTarget(HWND window, const wchar_t* applicationName) {
    return sim::ShareUIChooseTarget(window, Text(applicationName));
}
HRESULT TAVLET_SIM_CALL TavletSimShareRequestBitmap(HWND window) { return sim::ShareUIRequestBitmap(window); }
int TAVLET_SIM_CALL TavletSimShareBitmapSize(HWND window) {
    const auto package = sim::ShareUIPackage(window);
    return package.bitmapDelivered ? static_cast<int>(package.bitmapSize) : 0;
}
int TAVLET_SIM_CALL TavletSimShareText(HWND window, wchar_t* buffer, int capacity) {
    const auto package = sim::ShareUIPackage(window);
    return package.hasText ? CopyText(package.text, buffer, capacity) : NoText(buffer, capacity);
}
int TAVLET_SIM_CALL TavletSimShareFileCount(HWND window) {
    return static_cast<int>(sim::ShareUIPackage(window).storageItems.size());
}
HRESULT TAVLET_SIM_CALL TavletSimShareComplete(HWND window) { return sim::ShareUIComplete(window); }
HRESULT TAVLET_SIM_CALL TavletSimSharePickProvider(HWND window, const wchar_t* title) {
    return sim::ShareUIPickProvider(window, Text(title));
}
void TAVLET_SIM_CALL TavletSimShareDismiss(HWND window) { sim::ShareUIDismiss(window); }
void TAVLET_SIM_CALL TavletSimShareCopyLink(HWND window) { sim::ShareUICopyLink(window); }
int TAVLET_SIM_CALL TavletSimShareFailed(HWND window) { return sim::ShareUIPackage(window).failed; }
int TAVLET_SIM_CALL TavletSimShareProviderCompletions(void) {
    return static_cast<int>(sim::ShareProviderOperationsReported());
}

}  // extern "C"

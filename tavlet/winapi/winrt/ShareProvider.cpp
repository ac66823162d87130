// Share providers: the host listed as a target of its own in the system share
// UI, called back in the apartment that allocated its handle.
#include "tavlet.h"

#include "base/AbiNamespaces.h"
#include "base/Color.h"
#include "base/ComContext.h"
#include "base/ComObject.h"
#include "base/Guards.h"
#include "base/HString.h"
#include "base/OnCompleted.h"
#include "base/Runtime.h"
#include "ShareProviderRuntime.h"
#include "abi/DataTransfer.h"
#include "abi/Foundation.h"
#include "abi/Storage.Streams.h"
#include "abi/Storage.h"
#include "tavlet/Strings.h"
#include "tavlet/winapi/ShareProvider.h"
#include "tavlet/winapi/ShareProviderOperation.h"

#include <memory>

// Not declared by every SDK's headers; kernel32 has exported it since Windows 8.
extern "C" LONG WINAPI GetCurrentPackageFamilyName(UINT32* packageFamilyNameLength, PWSTR packageFamilyName);
#ifndef APPMODEL_ERROR_NO_PACKAGE
#define APPMODEL_ERROR_NO_PACKAGE 15700L
#endif

namespace tavlet::winapi {
namespace {

using ::winrt::check_hresult;
using ::winrt::com_ptr;
using winrt::ComContext;
using winrt::HString;
using winrt::HStringReference;


class ShareProviderOperationImpl final : public ShareProviderOperation {
public:
    explicit ShareProviderOperationImpl(com_ptr<DataTransfer::IShareProviderOperation> runtimeOperation)
        : operation_(std::move(runtimeOperation)) {}

    void ReportCompleted() override { check_hresult(operation_->ReportCompleted()); }

private:
    com_ptr<DataTransfer::IShareProviderOperation> operation_;
};

com_ptr<Streams::IRandomAccessStreamReferenceStatics> StreamReferences() {
    return winrt::GetActivationFactory<Streams::RandomAccessStreamReference,
                                       Streams::IRandomAccessStreamReferenceStatics>();
}

bool IsPackagedProcess() {
    UINT32 length = 0;
    return GetCurrentPackageFamilyName(&length, nullptr) != APPMODEL_ERROR_NO_PACKAGE;
}

std::wstring ExecutablePath() {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD length = MAX_PATH + 1;
    if (!QueryFullProcessImageNameW(GetCurrentProcess(), 0, buffer, &length)) ThrowOriginatedHresult(E_UNEXPECTED);
    return std::wstring(buffer, length);
}

// Builds a runtime provider whose pick runs the host's handler in the
// allocating thread's context, resolving the handler only once inside it: a
// Dealloc or a new Init before the host's function would run calls nothing.
com_ptr<DataTransfer::IShareProvider> MakeRuntimeProvider(const std::wstring& title,
                                                          const com_ptr<Streams::IRandomAccessStreamReference>& icon,
                                                          uint32_t color, std::weak_ptr<ShareProvider::Handler> handler,
                                                          ComContext context) {
    auto invoked = winrt::MakeDelegate<DataTransfer::ShareProviderHandler>(
        [handler = std::move(handler), context = std::move(context)](DataTransfer::IShareProviderOperation* operation) {
            auto runtimeOperation = ::winrt::copy_ptr(operation);
            context.RunOrDrop([&] {
                auto current = handler.lock();
                if (!current) return;
                // The operation handle is lent for the call only. A callback
                // that fails is the host's affair: the runtime is not told.
                ShareProviderOperationImpl lent(runtimeOperation);
                (*current)(lent);
            });
            return S_OK;
        });
    com_ptr<DataTransfer::IShareProvider> created;
    check_hresult(
        winrt::GetActivationFactory<DataTransfer::ShareProvider, DataTransfer::IShareProviderFactory>()->Create(
            HStringReference(title), icon.get(), winrt::FromArgb(color), invoked.get(), created.put()));
    return created;
}

class ShareProviderImpl final : public ShareProvider {
public:
    using public_type = ShareProvider;

    ShareProviderImpl()
        : runtimeProvider_(std::make_shared<winrt::RuntimeProviderSlot>()),
          apartmentContext_(ComContext::Current()) {}

    void Init(std::wstring title, std::wstring uri, uint32_t backgroundColor, Handler fn) override {
        // Runtime providers made earlier hold the old handler only weakly, so
        // they stop calling the host now.
        handler_ = std::make_shared<Handler>(std::move(fn));
        // Only this initialisation's result may reach the handle from now on.
        const uint64_t generation = runtimeProvider_->Begin();
        try {
            InitAsync(std::move(title), std::move(uri), backgroundColor, generation);
        } catch (...) {
            runtimeProvider_->Set(generation, nullptr, {});
        }
    }

    std::wstring GetTitle() override {
        auto provider = runtimeProvider_->Get();
        if (!provider) return {};
        HString title;
        check_hresult(provider->get_Title(title.put()));
        return title.str();
    }

    std::wstring GetIconUri() override { return runtimeProvider_->IconUri(); }

    uint32_t GetBackgroundColor() override {
        auto provider = runtimeProvider_->Get();
        if (!provider) return 0;
        UI::Color color{};
        check_hresult(provider->get_BackgroundColor(&color));
        return winrt::ToArgb(color);
    }

    const std::shared_ptr<winrt::RuntimeProviderSlot>& RuntimeProvider() const noexcept { return runtimeProvider_; }

private:
    // Builds the icon and then the runtime provider. Runs on the calling
    // thread up to the icon lookup of an unpackaged process, whose completion
    // continues in the initialising thread's context. That completion never
    // touches this object, which the host may deallocate meanwhile on any
    // thread: only the shared slot, and only while its initialisation is the
    // latest.
    void InitAsync(std::wstring title, std::wstring uri, uint32_t color, uint64_t generation) {
        if (IsPackagedProcess()) {
            com_ptr<Foundation::IUriRuntimeClass> parsed;
            check_hresult(
                winrt::GetActivationFactory<Foundation::Uri, Foundation::IUriRuntimeClassFactory>()->CreateUri(
                    HStringReference(uri), parsed.put()));
            com_ptr<Streams::IRandomAccessStreamReference> icon;
            check_hresult(StreamReferences()->CreateFromUri(parsed.get(), icon.put()));
            runtimeProvider_->Set(generation, MakeRuntimeProvider(title, icon, color, handler_, apartmentContext_),
                                  uri);
            return;
        }

        std::wstring relative = winrt::IconRelativePath(uri);
        std::wstring path = winrt::ExecutableDirectory(ExecutablePath()) + relative;
        com_ptr<Foundation::IAsyncOperation<Storage::IStorageFile*>> lookup;
        check_hresult(winrt::GetActivationFactory<Storage::StorageFile, Storage::IStorageFileStatics>()
                          ->GetFileFromPathAsync(HStringReference(path), lookup.put()));
        winrt::OnCompleted<Storage::IStorageFile*>(
            lookup,
            winrt::InContext<std::weak_ptr<winrt::RuntimeProviderSlot>>{ComContext::Current(), runtimeProvider_},
            [generation, weakHandler = std::weak_ptr(handler_), pickContext = apartmentContext_,
             title = std::move(title), relative = std::move(relative),
             color](winrt::RuntimeProviderSlot& current, com_ptr<Storage::IStorageFile> file) {
                if (!current.IsLatest(generation)) return;  // initialised again since
                com_ptr<Streams::IRandomAccessStreamReference> icon;
                check_hresult(StreamReferences()->CreateFromFile(file.get(), icon.put()));
                current.Set(generation, MakeRuntimeProvider(title, icon, color, weakHandler, pickContext), relative);
            },
            // A failed initialisation leaves no runtime provider: one made by
            // an earlier initialisation no longer calls the host.
            [generation](winrt::RuntimeProviderSlot& current, const winrt::OperationFailure&) {
                if (current.IsLatest(generation)) current.Set(generation, nullptr, {});
            });
    }

    // Destroyed in reverse order: handler_, apartmentContext_, runtimeProvider_.
    std::shared_ptr<winrt::RuntimeProviderSlot> runtimeProvider_;
    ComContext apartmentContext_;
    std::shared_ptr<Handler> handler_;
};

}  // namespace

namespace winrt {

std::shared_ptr<RuntimeProviderSlot> RuntimeProviderSlotOf(_WinRTShareProvider* handle) {
    auto* provider = static_cast<ShareProviderImpl*>(FromHandle<ShareProvider>(handle));
    return provider ? provider->RuntimeProvider() : nullptr;  // a handle that is not live counts as none
}

std::wstring ExecutableDirectory(const std::wstring& executablePath) {
    auto separator = executablePath.find_last_of(L"\\/");
    return separator == std::wstring::npos ? executablePath : executablePath.substr(0, separator);
}

std::wstring IconRelativePath(const std::wstring& iconUri) {
    auto scheme = iconUri.find(L"://");
    if (scheme == std::wstring::npos) ThrowOriginatedHresult(E_INVALIDARG);
    std::wstring relative = iconUri.substr(scheme + 3);
    for (auto& c : relative)
        if (c == L'/') c = L'\\';
    return relative;
}

}  // namespace winrt
}  // namespace tavlet::winapi

using tavlet::winapi::AllocHandle;
using tavlet::winapi::DeallocHandle;
using tavlet::winapi::FromHandle;
using tavlet::winapi::ObjectOf;
using tavlet::winapi::ShareProvider;
using tavlet::winapi::ShareProviderOperation;
using tavlet::winapi::ToHandle;
using tavlet::winapi::winrt::GetterGuard;
using tavlet::winapi::winrt::HandleGuard;
using tavlet::winapi::winrt::ReleaseGuard;

extern "C" {

HRESULT TAVLET_CALL _WinRTShareProvider_Alloc(_WinRTShareProvider** provider) {
    return HandleGuard([&] { AllocHandle<tavlet::winapi::ShareProviderImpl>(provider); });
}

HRESULT TAVLET_CALL _WinRTShareProvider_InitWithArgs(_WinRTShareProvider* provider,
                                                     const _WinRTShareProviderInitArgs* args) {
    return HandleGuard([&] {
        tavlet::require(args != nullptr);
        tavlet::require(args->structSize == sizeof(_WinRTShareProviderInitArgs));
        std::wstring title = tavlet::ToWideString(args->title);
        std::wstring iconUri = tavlet::ToWideString(args->iconUri);
        const uint32_t color = args->backgroundColor;
        const ShareProviderOperationHandler callback = args->callback;
        void* const context = args->context;
        tavlet::require(provider != nullptr);
        // A provider the user can pick but that can never report back would
        // leave the share UI waiting: refuse it here.
        tavlet::require(callback != nullptr);
        ObjectOf<ShareProvider>(provider)->Init(
            std::move(title), std::move(iconUri), color,
            [callback, context](ShareProviderOperation& operation) { callback(context, ToHandle(&operation)); });
    });
}

HRESULT TAVLET_CALL _WinRTShareProvider_GetTitle(_WinRTShareProvider* provider, BSTR* title) {
    return GetterGuard(title, nullptr, [&] { return ObjectOf<ShareProvider>(provider)->GetTitle(); });
}

HRESULT TAVLET_CALL _WinRTShareProvider_GetIconUri(_WinRTShareProvider* provider, BSTR* iconUri) {
    return GetterGuard(iconUri, nullptr, [&] { return ObjectOf<ShareProvider>(provider)->GetIconUri(); });
}

HRESULT TAVLET_CALL _WinRTShareProvider_GetBackgroundColor(_WinRTShareProvider* provider, uint32_t* color) {
    return GetterGuard(color, 0, [&] { return ObjectOf<ShareProvider>(provider)->GetBackgroundColor(); });
}

HRESULT TAVLET_CALL _WinRTShareProvider_Dealloc(_WinRTShareProvider* provider) {
    return ReleaseGuard([&] { DeallocHandle<ShareProvider>(provider); });
}

HRESULT TAVLET_CALL _WinRTShareProviderOperation_ReportCompleted(_WinRTShareProviderOperation* operation) {
    return HandleGuard([&] {
        // Null, or a handle no longer lent: nothing to report.
        if (auto* lent = FromHandle<ShareProviderOperation>(operation)) lent->ReportCompleted();
    });
}

}  // extern "C"

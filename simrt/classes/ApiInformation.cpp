// Windows.Foundation.Metadata.ApiInformation: answers that follow the modelled
// Windows build, or set by the tests.
#include "SimObject.h"
#include "control/Windows.h"
#include "tavlet/winapi/winrt/abi/Foundation.Metadata.h"

#include <map>
#include <mutex>

namespace sim {
namespace {

using abi::boolean;
namespace Metadata = abi::Windows::Foundation::Metadata;

// Keys: "type", "type/method()", "type/event!", "type/property". Without an
// explicit answer a type is present when this runtime serves it and the
// modelled Windows build has it, and a member when the build has it.
struct Answers {
    std::mutex lock;
    std::map<std::wstring, bool> explicitAnswers;
};
// The first Windows build that has each type and member that came after
// Windows 10's first release (10240).
const std::map<std::wstring, uint32_t>& FirstBuilds() {
    static const std::map<std::wstring, uint32_t>* builds = new std::map<std::wstring, uint32_t>{
        {L"Windows.ApplicationModel.DataTransfer.DataPackage/SetText()", 10240},
        {L"Windows.UI.Input.RadialController", 14393},
        {L"Windows.UI.Input.RadialControllerConfiguration", 14393},
        {L"Windows.UI.Input.RadialControllerMenuItem", 14393},
        {L"Windows.UI.Input.RadialController/ButtonPressed!", 15063},
        {L"Windows.ApplicationModel.DataTransfer.ShareProvider", 15063},
        {L"Windows.ApplicationModel.DataTransfer.DataTransferManager/ShareProvidersRequested!", 15063},
        {L"Windows.ApplicationModel.DataTransfer.DataPackage/ShareCompleted!", 15063},
        {L"Windows.UI.Input.RadialControllerConfiguration/AppController", 16299},
        {L"Windows.UI.Input.RadialControllerConfiguration/IsAppControllerEnabled", 16299},
        {L"Windows.ApplicationModel.DataTransfer.DataPackage/ShareCanceled!", 19041},
    };
    return *builds;
}
Answers& answers() {
    static Answers* a = new Answers();
    return *a;
}

void Set(std::wstring key, bool present) {
    auto& a = answers();
    std::lock_guard guard(a.lock);
    a.explicitAnswers[std::move(key)] = present;
}

HRESULT Answer(const std::wstring& key, boolean* result) {
    if (!result) return E_POINTER;
    auto& a = answers();
    std::lock_guard guard(a.lock);
    auto found = a.explicitAnswers.find(key);
    if (found != a.explicitAnswers.end()) {
        *result = found->second ? 1 : 0;
        return S_OK;
    }
    const bool isType = key.find(L'/') == std::wstring::npos;
    auto first = FirstBuilds().find(key);
    bool present = (!isType || detail::IsServedClass(key)) &&
                   (first != FirstBuilds().end() ? WindowsAtLeast(first->second) : isType);
    *result = present ? 1 : 0;
    return S_OK;
}

class ApiInformationStatics : public SimFactory<ApiInformationStatics, Metadata::IApiInformationStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE IsTypePresent(HSTRING typeName, boolean* result) noexcept override {
        SIM_FAULT("IApiInformationStatics.IsTypePresent");
        return Answer(ToWide(typeName), result);
    }
    HRESULT STDMETHODCALLTYPE IsMethodPresent(HSTRING typeName, HSTRING methodName, boolean* result) noexcept override {
        SIM_FAULT("IApiInformationStatics.IsMethodPresent");
        return Answer(ToWide(typeName) + L"/" + ToWide(methodName) + L"()", result);
    }
    SIM_UNUSED("IApiInformationStatics.IsMethodPresentWithArity",
               IsMethodPresentWithArity(HSTRING, HSTRING, UINT32, boolean*))
    HRESULT STDMETHODCALLTYPE IsEventPresent(HSTRING typeName, HSTRING eventName, boolean* result) noexcept override {
        SIM_FAULT("IApiInformationStatics.IsEventPresent");
        return Answer(ToWide(typeName) + L"/" + ToWide(eventName) + L"!", result);
    }
    HRESULT STDMETHODCALLTYPE IsPropertyPresent(HSTRING typeName, HSTRING propertyName, boolean* result) noexcept override {
        SIM_FAULT("IApiInformationStatics.IsPropertyPresent");
        return Answer(ToWide(typeName) + L"/" + ToWide(propertyName), result);
    }
    SIM_UNUSED("IApiInformationStatics.IsReadOnlyPropertyPresent",
               IsReadOnlyPropertyPresent(HSTRING, HSTRING, boolean*))
    SIM_UNUSED("IApiInformationStatics.IsWriteablePropertyPresent",
               IsWriteablePropertyPresent(HSTRING, HSTRING, boolean*))
    SIM_UNUSED("IApiInformationStatics.IsEnumNamedValuePresent", IsEnumNamedValuePresent(HSTRING, HSTRING, boolean*))
    SIM_UNUSED("IApiInformationStatics.IsApiContractPresentByMajor",
               IsApiContractPresentByMajor(HSTRING, UINT16, boolean*))
    SIM_UNUSED("IApiInformationStatics.IsApiContractPresentByMajorAndMinor",
               IsApiContractPresentByMajorAndMinor(HSTRING, UINT16, UINT16, boolean*))
};

const ClassRegistration registration(Metadata::ApiInformation::name,
                                     [] { return NewFactory<ApiInformationStatics>(Metadata::ApiInformation::name); });
const ResetRegistration reset([] {
    auto& a = answers();
    std::lock_guard guard(a.lock);
    a.explicitAnswers.clear();
});

}  // namespace

void SetTypePresent(const std::wstring& typeName, bool present) { Set(typeName, present); }
void SetMethodPresent(const std::wstring& typeName, const std::wstring& methodName, bool present) {
    Set(typeName + L"/" + methodName + L"()", present);
}
void SetEventPresent(const std::wstring& typeName, const std::wstring& eventName, bool present) {
    Set(typeName + L"/" + eventName + L"!", present);
}

}  // namespace sim

// Windows.Foundation.Metadata.ApiInformation: answers set by the tests.
#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.Metadata.h"

#include <map>
#include <mutex>
#include <set>

namespace sim {
namespace {

using abi::boolean;
namespace Metadata = abi::Windows::Foundation::Metadata;

// Keys: "type", "type/method()", "type/event!". Without an explicit answer a
// type is present when this runtime serves it, and a member when it is one of
// the defaults below (what a current system has).
struct Answers {
    std::mutex lock;
    std::map<std::wstring, bool> explicitAnswers;
};
const std::set<std::wstring>& DefaultMembers() {
    static const std::set<std::wstring>* members = new std::set<std::wstring>{
        L"Windows.ApplicationModel.DataTransfer.DataTransferManager/ShareProvidersRequested!",
        L"Windows.ApplicationModel.DataTransfer.DataPackage/ShareCompleted!",
        L"Windows.ApplicationModel.DataTransfer.DataPackage/ShareCanceled!",
        L"Windows.ApplicationModel.DataTransfer.DataPackage/SetText()",
    };
    return *members;
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
    bool present = found != a.explicitAnswers.end() ? found->second
                   : key.find(L'/') == std::wstring::npos ? detail::IsServedClass(key)
                                                         : DefaultMembers().count(key) != 0;
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
    SIM_UNUSED("IApiInformationStatics.IsPropertyPresent", IsPropertyPresent(HSTRING, HSTRING, boolean*))
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

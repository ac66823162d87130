// Windows.Foundation.Uri: made from absolute URI text, refused otherwise as the
// runtime refuses it (E_INVALIDARG); IUriRuntimeClass for its parts and
// IStringable for its text.
#include "Property.h"
#include "Tiles.h"

namespace sim {
namespace {

using abi::boolean;
namespace Foundation = abi::Windows::Foundation;

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// scheme ":" rest, with scheme = letter *(letter / digit / "+" / "-" / "."),
// a non-empty rest and no blanks or control characters anywhere.
bool IsAbsoluteUri(const std::wstring& text) {
    auto colon = text.find(L':');
    if (colon == std::wstring::npos || colon == 0 || colon + 1 == text.size()) return false;
    if (!IsAsciiLetter(text[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        wchar_t c = text[i];
        if (!IsAsciiLetter(c) && !IsAsciiDigit(c) && c != L'+' && c != L'-' && c != L'.') return false;
    }
    for (wchar_t c : text)
        if (c <= L' ' || c == 0x7F) return false;
    return true;
}

struct Parts {
    std::wstring scheme, host, path, query, fragment;
    INT32 port = -1;
};

Parts Split(const std::wstring& text) {
    Parts parts;
    auto colon = text.find(L':');
    parts.scheme = text.substr(0, colon);
    for (auto& c : parts.scheme) c = static_cast<wchar_t>(towlower(c));
    std::wstring rest = text.substr(colon + 1);
    if (auto hash = rest.find(L'#'); hash != std::wstring::npos) {
        parts.fragment = rest.substr(hash);
        rest.resize(hash);
    }
    if (auto question = rest.find(L'?'); question != std::wstring::npos) {
        parts.query = rest.substr(question);
        rest.resize(question);
    }
    if (rest.rfind(L"//", 0) == 0) {
        auto slash = rest.find(L'/', 2);
        std::wstring authority = rest.substr(2, slash == std::wstring::npos ? std::wstring::npos : slash - 2);
        rest = slash == std::wstring::npos ? L"/" : rest.substr(slash);
        if (auto at = authority.rfind(L'@'); at != std::wstring::npos) authority = authority.substr(at + 1);
        if (auto portColon = authority.rfind(L':'); portColon != std::wstring::npos) {
            parts.port = _wtoi(authority.c_str() + portColon + 1);
            authority.resize(portColon);
        }
        parts.host = authority;
    }
    parts.path = rest;
    if (parts.port < 0) parts.port = parts.scheme == L"https" ? 443 : parts.scheme == L"http" ? 80 : -1;
    return parts;
}

class UriObject : public SimObject<UriObject, Foundation::IUriRuntimeClass, Foundation::IStringable> {
public:
    explicit UriObject(std::wstring text) : text_(std::move(text)), parts_(Split(text_)) {}

    SIM_GETTER(IUriRuntimeClass, AbsoluteUri, HSTRING, Fixed(text_))
    SIM_GETTER(IUriRuntimeClass, DisplayUri, HSTRING, Fixed(text_))
    SIM_GETTER(IUriRuntimeClass, Domain, HSTRING, Fixed(parts_.host))
    HRESULT STDMETHODCALLTYPE get_Extension(HSTRING* value) noexcept override {
        SIM_FAULT("IUriRuntimeClass.get_Extension");
        auto dot = parts_.path.rfind(L'.');
        auto slash = parts_.path.rfind(L'/');
        bool has = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
        return Fixed(has ? parts_.path.substr(dot) : std::wstring()).Get(value);
    }
    SIM_GETTER(IUriRuntimeClass, Fragment, HSTRING, Fixed(parts_.fragment))
    SIM_GETTER(IUriRuntimeClass, Host, HSTRING, Fixed(parts_.host))
    SIM_GETTER(IUriRuntimeClass, Password, HSTRING, Fixed(std::wstring()))
    SIM_GETTER(IUriRuntimeClass, Path, HSTRING, Fixed(parts_.path))
    SIM_GETTER(IUriRuntimeClass, Query, HSTRING, Fixed(parts_.query))
    SIM_UNUSED_OUT("IUriRuntimeClass.get_QueryParsed", decoder, get_QueryParsed(IInspectable** decoder))
    SIM_GETTER(IUriRuntimeClass, RawUri, HSTRING, Fixed(text_))
    SIM_GETTER(IUriRuntimeClass, SchemeName, HSTRING, Fixed(parts_.scheme))
    SIM_GETTER(IUriRuntimeClass, UserName, HSTRING, Fixed(std::wstring()))
    SIM_GETTER(IUriRuntimeClass, Port, INT32, Fixed(parts_.port))
    SIM_GETTER(IUriRuntimeClass, Suspicious, boolean, Fixed(false))
    HRESULT STDMETHODCALLTYPE Equals(Foundation::IUriRuntimeClass* other, boolean* value) noexcept override {
        SIM_FAULT("IUriRuntimeClass.Equals");
        if (!value) return E_POINTER;
        *value = other && UriText(other) == text_;
        return S_OK;
    }
    SIM_UNUSED_OUT("IUriRuntimeClass.CombineUri", instance, CombineUri(HSTRING,
                                                                       Foundation::IUriRuntimeClass** instance))

    HRESULT STDMETHODCALLTYPE ToString(HSTRING* value) noexcept override {
        SIM_FAULT("IStringable.ToString");
        return Fixed(text_).Get(value);
    }

private:
    std::wstring text_;
    Parts parts_;
};

class UriFactory : public SimFactory<UriFactory, Foundation::IUriRuntimeClassFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateUri(HSTRING uri, Foundation::IUriRuntimeClass** instance) noexcept override {
        SIM_FAULT("IUriRuntimeClassFactory.CreateUri");
        if (!instance) return E_POINTER;
        *instance = nullptr;
        std::wstring text = ToWide(uri);
        if (!IsAbsoluteUri(text)) return E_INVALIDARG;
        *instance = MakeUri(text).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateWithRelativeUri(HSTRING baseUri, HSTRING relativeUri,
                                                    Foundation::IUriRuntimeClass** instance) noexcept override {
        SIM_FAULT("IUriRuntimeClassFactory.CreateWithRelativeUri");
        if (!instance) return E_POINTER;
        *instance = nullptr;
        std::wstring base = ToWide(baseUri), relative = ToWide(relativeUri);
        if (!IsAbsoluteUri(base)) return E_INVALIDARG;
        if (IsAbsoluteUri(relative)) return CreateUri(relativeUri, instance);
        if (!base.empty() && base.back() != L'/' && (relative.empty() || relative.front() != L'/')) base += L'/';
        *instance = MakeUri(base + relative).detach();
        return S_OK;
    }
};

const ClassRegistration registration(Foundation::Uri::name,
                                     [] { return NewFactory<UriFactory>(Foundation::Uri::name); });

}  // namespace

::winrt::com_ptr<Foundation::IUriRuntimeClass> MakeUri(const std::wstring& text) {
    auto uri = MakeObject<UriObject>(text);
    return Up<Foundation::IUriRuntimeClass>(uri);
}

std::wstring UriText(Foundation::IUriRuntimeClass* uri) {
    if (!uri) return {};
    ::winrt::com_ptr<Foundation::IStringable> stringable;
    if (uri->QueryInterface(abi::guid_v<Foundation::IStringable>, stringable.put_void()) < 0) return {};
    HString text;
    if (stringable->ToString(text.put()) < 0) return {};
    return text.str();
}

}  // namespace sim

// Windows.Data.Xml.Dom.XmlDocument: activatable, and LoadXml refuses a document
// that is not well-formed with the XML parser's HRESULT, as the runtime does
// (its parser reports the MSXML error codes, 0xC00CE5xx).
#include "Tiles.h"

#include <mutex>
#include <set>
#include <vector>

namespace sim {
namespace {

using abi::boolean;
namespace XmlDom = abi::Windows::Data::Xml::Dom;

// The parser's codes for the malformations the checker tells apart.
constexpr HRESULT XML_E_MISSINGEQUALS = static_cast<HRESULT>(0xC00CE501);
constexpr HRESULT XML_E_MISSINGQUOTE = static_cast<HRESULT>(0xC00CE502);
constexpr HRESULT XML_E_COMMENTSYNTAX = static_cast<HRESULT>(0xC00CE503);
constexpr HRESULT XML_E_BADSTARTNAMECHAR = static_cast<HRESULT>(0xC00CE504);
constexpr HRESULT XML_E_BADCHARINSTRING = static_cast<HRESULT>(0xC00CE506);
constexpr HRESULT XML_E_BADCHARDATA = static_cast<HRESULT>(0xC00CE508);
constexpr HRESULT XML_E_EXPECTINGTAGEND = static_cast<HRESULT>(0xC00CE50A);
constexpr HRESULT XML_E_MISSINGSEMICOLON = static_cast<HRESULT>(0xC00CE50B);
constexpr HRESULT XML_E_UNEXPECTEDENDTAG = static_cast<HRESULT>(0xC00CE552);
constexpr HRESULT XML_E_UNCLOSEDTAG = static_cast<HRESULT>(0xC00CE553);
constexpr HRESULT XML_E_DUPLICATEATTRIBUTE = static_cast<HRESULT>(0xC00CE554);
constexpr HRESULT XML_E_MULTIPLEROOTS = static_cast<HRESULT>(0xC00CE555);
constexpr HRESULT XML_E_INVALIDATROOTLEVEL = static_cast<HRESULT>(0xC00CE556);
constexpr HRESULT XML_E_MISSINGROOT = static_cast<HRESULT>(0xC00CE558);
constexpr HRESULT XML_E_ENDTAGMISMATCH = static_cast<HRESULT>(0xC00CE56D);

// A small well-formedness checker: one root element, balanced and matching
// tags, well-formed attributes (quoted, unique, no '<'), comments, processing
// instructions, CDATA sections and the predefined and numeric references.
class Checker {
public:
    explicit Checker(const std::wstring& text) : s_(text) {}

    HRESULT Check() {
        bool root = false;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) return root ? S_OK : XML_E_MISSINGROOT;
            if (Starts(L"<?")) {
                if (HRESULT hr = Skip(L"?>", XML_E_EXPECTINGTAGEND); hr < 0) return hr;
            } else if (Starts(L"<!--")) {
                if (HRESULT hr = Comment(); hr < 0) return hr;
            } else if (Starts(L"</")) {
                return XML_E_UNEXPECTEDENDTAG;
            } else if (Starts(L"<") && !Starts(L"<!")) {
                if (root) return XML_E_MULTIPLEROOTS;
                root = true;
                if (HRESULT hr = Element(); hr < 0) return hr;
            } else {
                return XML_E_INVALIDATROOTLEVEL;  // text or a declaration outside the root
            }
        }
    }

private:
    bool AtEnd() const { return i_ >= s_.size(); }
    bool Starts(const wchar_t* prefix) const { return s_.compare(i_, wcslen(prefix), prefix) == 0; }
    static bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
    static bool IsNameStart(wchar_t c) { return iswalpha(c) || c == L'_' || c == L':' || c > 0x7F; }
    static bool IsNameChar(wchar_t c) { return IsNameStart(c) || iswdigit(c) || c == L'-' || c == L'.'; }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(s_[i_])) ++i_;
    }
    HRESULT Skip(const wchar_t* terminator, HRESULT error) {
        auto end = s_.find(terminator, i_);
        if (end == std::wstring::npos) return error;
        i_ = end + wcslen(terminator);
        return S_OK;
    }
    HRESULT Comment() {
        auto end = s_.find(L"--", i_ + 4);
        if (end == std::wstring::npos || s_.compare(end, 3, L"-->") != 0) return XML_E_COMMENTSYNTAX;
        i_ = end + 3;
        return S_OK;
    }
    HRESULT Name(std::wstring& name) {
        if (AtEnd() || !IsNameStart(s_[i_])) return XML_E_BADSTARTNAMECHAR;
        size_t start = i_;
        while (!AtEnd() && IsNameChar(s_[i_])) ++i_;
        name = s_.substr(start, i_ - start);
        return S_OK;
    }
    HRESULT Reference() {  // at '&'
        auto end = s_.find(L';', i_);
        if (end == std::wstring::npos) return XML_E_MISSINGSEMICOLON;
        std::wstring name = s_.substr(i_ + 1, end - i_ - 1);
        i_ = end + 1;
        static const auto* predefined = new std::set<std::wstring>{L"lt", L"gt", L"amp", L"quot", L"apos"};  // never destroyed
        if (predefined->count(name)) return S_OK;
        if (name.size() > 1 && name[0] == L'#') {
            bool hex = name[1] == L'x';
            size_t digits = hex ? 2 : 1;
            if (name.size() == digits) return XML_E_BADCHARDATA;
            for (size_t k = digits; k < name.size(); ++k)
                if (!(hex ? iswxdigit(name[k]) : iswdigit(name[k]))) return XML_E_BADCHARDATA;
            return S_OK;
        }
        return XML_E_BADCHARDATA;  // an entity the document does not declare
    }
    HRESULT Attributes(bool& empty) {
        std::set<std::wstring> seen;
        for (;;) {
            size_t before = i_;
            SkipBlanks();
            if (AtEnd()) return XML_E_UNCLOSEDTAG;
            if (Starts(L"/>")) {
                i_ += 2;
                empty = true;
                return S_OK;
            }
            if (s_[i_] == L'>') {
                ++i_;
                empty = false;
                return S_OK;
            }
            if (i_ == before) return XML_E_EXPECTINGTAGEND;  // attributes are separated by blanks
            std::wstring name;
            if (HRESULT hr = Name(name); hr < 0) return hr;
            if (!seen.insert(name).second) return XML_E_DUPLICATEATTRIBUTE;
            SkipBlanks();
            if (AtEnd() || s_[i_] != L'=') return XML_E_MISSINGEQUALS;
            ++i_;
            SkipBlanks();
            if (AtEnd() || (s_[i_] != L'"' && s_[i_] != L'\'')) return XML_E_MISSINGQUOTE;
            wchar_t quote = s_[i_++];
            for (;;) {
                if (AtEnd()) return XML_E_MISSINGQUOTE;
                wchar_t c = s_[i_];
                if (c == quote) {
                    ++i_;
                    break;
                }
                if (c == L'<') return XML_E_BADCHARINSTRING;
                if (c == L'&') {
                    if (HRESULT hr = Reference(); hr < 0) return hr;
                } else {
                    ++i_;
                }
            }
        }
    }
    HRESULT Element() {  // at '<'
        std::vector<std::wstring> open;
        do {
            if (Starts(L"<!--")) {
                if (HRESULT hr = Comment(); hr < 0) return hr;
            } else if (Starts(L"<![CDATA[")) {
                if (HRESULT hr = Skip(L"]]>", XML_E_UNCLOSEDTAG); hr < 0) return hr;
            } else if (Starts(L"<?")) {
                if (HRESULT hr = Skip(L"?>", XML_E_EXPECTINGTAGEND); hr < 0) return hr;
            } else if (Starts(L"</")) {
                i_ += 2;
                std::wstring name;
                if (HRESULT hr = Name(name); hr < 0) return hr;
                SkipBlanks();
                if (AtEnd() || s_[i_] != L'>') return XML_E_EXPECTINGTAGEND;
                ++i_;
                if (name != open.back()) return XML_E_ENDTAGMISMATCH;
                open.pop_back();
            } else if (Starts(L"<")) {
                ++i_;
                std::wstring name;
                if (HRESULT hr = Name(name); hr < 0) return hr;
                bool empty = false;
                if (HRESULT hr = Attributes(empty); hr < 0) return hr;
                if (!empty) open.push_back(name);
            } else if (s_[i_] == L'&') {
                if (HRESULT hr = Reference(); hr < 0) return hr;
            } else {
                ++i_;  // character data
            }
            if (!open.empty() && AtEnd()) return XML_E_UNCLOSEDTAG;
        } while (!open.empty());
        return S_OK;
    }

    const std::wstring& s_;
    size_t i_ = 0;
};

// The simulated document's own interface: the text it was loaded with, for
// the simulated notification classes.
struct ISimXmlSource : IUnknown {
    TAVLET_IID(ISimXmlSource, "5b1f3c2e-7d4a-4e8b-9a61-0c2d7e9f4a13");
    virtual HRESULT STDMETHODCALLTYPE GetText(HSTRING* text) = 0;
};

class Document : public SimObject<Document, XmlDom::IXmlDocument, XmlDom::IXmlDocumentIO, ISimXmlSource> {
public:
    // ---- IXmlDocumentIO ----
    HRESULT STDMETHODCALLTYPE LoadXml(HSTRING xml) noexcept override {
        SIM_FAULT("IXmlDocumentIO.LoadXml");
        std::wstring text = ToWide(xml);
        if (HRESULT hr = Checker(text).Check(); hr < 0) return hr;
        std::lock_guard guard(lock_);
        text_ = std::move(text);
        return S_OK;
    }
    SIM_UNUSED("IXmlDocumentIO.LoadXmlWithSettings", LoadXmlWithSettings(HSTRING, IInspectable*))
    SIM_UNUSED("IXmlDocumentIO.SaveToFileAsync",
               SaveToFileAsync(abi::Windows::Storage::IStorageFile*, abi::Windows::Foundation::IAsyncAction**))

    // ---- ISimXmlSource ----
    HRESULT STDMETHODCALLTYPE GetText(HSTRING* text) noexcept override {
        std::lock_guard guard(lock_);
        *text = MakeHString(text_);
        return S_OK;
    }

    // ---- IXmlDocument (the library builds no DOM) ----
    SIM_UNUSED("IXmlDocument.get_Doctype", get_Doctype(IInspectable**))
    SIM_UNUSED("IXmlDocument.get_Implementation", get_Implementation(IInspectable**))
    SIM_UNUSED("IXmlDocument.get_DocumentElement", get_DocumentElement(IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateElement", CreateElement(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateDocumentFragment", CreateDocumentFragment(IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateTextNode", CreateTextNode(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateComment", CreateComment(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateProcessingInstruction", CreateProcessingInstruction(HSTRING, HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateAttribute", CreateAttribute(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateEntityReference", CreateEntityReference(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.GetElementsByTagName", GetElementsByTagName(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateCDataSection", CreateCDataSection(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.get_DocumentUri", get_DocumentUri(HSTRING*))
    SIM_UNUSED("IXmlDocument.CreateAttributeNS", CreateAttributeNS(IInspectable*, HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.CreateElementNS", CreateElementNS(IInspectable*, HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.GetElementById", GetElementById(HSTRING, IInspectable**))
    SIM_UNUSED("IXmlDocument.ImportNode", ImportNode(IInspectable*, boolean, IInspectable**))

private:
    std::mutex lock_;
    std::wstring text_;
};


class DocumentFactory : public SimFactory<DocumentFactory> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) noexcept override {
        SIM_FAULT("IActivationFactory.ActivateInstance(XmlDocument)");
        if (!instance) return E_POINTER;
        *instance = static_cast<XmlDom::IXmlDocument*>(MakeObject<Document>().detach());
        return S_OK;
    }
};

const ClassRegistration registration(XmlDom::XmlDocument::name,
                                     [] { return NewFactory<DocumentFactory>(XmlDom::XmlDocument::name); });

}  // namespace

std::wstring XmlTextOf(XmlDom::IXmlDocument* document) {
    ::winrt::com_ptr<ISimXmlSource> source;
    if (!document || document->QueryInterface(abi::guid_v<ISimXmlSource>, source.put_void()) < 0) return {};
    HString text;
    source->GetText(text.put());
    return text.str();
}

}  // namespace sim

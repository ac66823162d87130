// Windows.Data.Xml.Dom
#pragma once

#include "Instances.h"

namespace abi::Windows::Data::Xml::Dom {

TAVLET_RUNTIME_CLASS(XmlAttribute, L"Windows.Data.Xml.Dom.XmlAttribute");
TAVLET_RUNTIME_CLASS(XmlCDataSection, L"Windows.Data.Xml.Dom.XmlCDataSection");
TAVLET_RUNTIME_CLASS(XmlComment, L"Windows.Data.Xml.Dom.XmlComment");
TAVLET_RUNTIME_CLASS(XmlDocument, L"Windows.Data.Xml.Dom.XmlDocument");
TAVLET_RUNTIME_CLASS(XmlDocumentFragment, L"Windows.Data.Xml.Dom.XmlDocumentFragment");
TAVLET_RUNTIME_CLASS(XmlDocumentType, L"Windows.Data.Xml.Dom.XmlDocumentType");
TAVLET_RUNTIME_CLASS(XmlDomImplementation, L"Windows.Data.Xml.Dom.XmlDomImplementation");
TAVLET_RUNTIME_CLASS(XmlElement, L"Windows.Data.Xml.Dom.XmlElement");
TAVLET_RUNTIME_CLASS(XmlEntityReference, L"Windows.Data.Xml.Dom.XmlEntityReference");
TAVLET_RUNTIME_CLASS(XmlLoadSettings, L"Windows.Data.Xml.Dom.XmlLoadSettings");
TAVLET_RUNTIME_CLASS(XmlNodeList, L"Windows.Data.Xml.Dom.XmlNodeList");
TAVLET_RUNTIME_CLASS(XmlProcessingInstruction, L"Windows.Data.Xml.Dom.XmlProcessingInstruction");
TAVLET_RUNTIME_CLASS(XmlText, L"Windows.Data.Xml.Dom.XmlText");

struct IXmlDocument : IInspectable {
    TAVLET_IID(IXmlDocument, "f7f3a506-1e87-42d6-bcfb-b8c809fa5494");
    virtual HRESULT STDMETHODCALLTYPE get_Doctype(IInspectable** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Implementation(IInspectable** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_DocumentElement(IInspectable** value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE CreateElement(HSTRING tagName, IInspectable** newElement) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE CreateDocumentFragment(IInspectable** newDocumentFragment) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE CreateTextNode(HSTRING data, IInspectable** newTextNode) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE CreateComment(HSTRING data, IInspectable** newComment) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE CreateProcessingInstruction(HSTRING target, HSTRING data, IInspectable** newProcessingInstruction) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE CreateAttribute(HSTRING name, IInspectable** newAttribute) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE CreateEntityReference(HSTRING name, IInspectable** newEntityReference) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE GetElementsByTagName(HSTRING tagName, IInspectable** elements) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE CreateCDataSection(HSTRING data, IInspectable** newCDataSection) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE get_DocumentUri(HSTRING* value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE CreateAttributeNS(IInspectable* namespaceUri, HSTRING qualifiedName, IInspectable** newAttribute) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE CreateElementNS(IInspectable* namespaceUri, HSTRING qualifiedName, IInspectable** newElement) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE GetElementById(HSTRING elementId, IInspectable** element) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE ImportNode(IInspectable* node, boolean deep, IInspectable** newNode) = 0;  // 22
};

struct IXmlDocumentIO : IInspectable {
    TAVLET_IID(IXmlDocumentIO, "6cd0e74e-ee65-4489-9ebf-ca43e87ba637");
    virtual HRESULT STDMETHODCALLTYPE LoadXml(HSTRING xml) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE LoadXmlWithSettings(HSTRING xml, IInspectable* loadSettings) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE SaveToFileAsync(::abi::Windows::Storage::IStorageFile* file, ::abi::Windows::Foundation::IAsyncAction** asyncInfo) = 0;  // 8
};

}  // namespace abi::Windows::Data::Xml::Dom

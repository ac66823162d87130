// Windows.ApplicationModel.DataTransfer
#pragma once

#include "Instances.h"

namespace abi::Windows::ApplicationModel::DataTransfer {

TAVLET_RUNTIME_CLASS(DataPackage, L"Windows.ApplicationModel.DataTransfer.DataPackage");
TAVLET_RUNTIME_CLASS(DataPackagePropertySet, L"Windows.ApplicationModel.DataTransfer.DataPackagePropertySet");
TAVLET_RUNTIME_CLASS(DataPackageView, L"Windows.ApplicationModel.DataTransfer.DataPackageView");
TAVLET_RUNTIME_CLASS(DataProviderDeferral, L"Windows.ApplicationModel.DataTransfer.DataProviderDeferral");
TAVLET_RUNTIME_CLASS(DataProviderRequest, L"Windows.ApplicationModel.DataTransfer.DataProviderRequest");
TAVLET_RUNTIME_CLASS(DataRequest, L"Windows.ApplicationModel.DataTransfer.DataRequest");
TAVLET_RUNTIME_CLASS(DataRequestDeferral, L"Windows.ApplicationModel.DataTransfer.DataRequestDeferral");
TAVLET_RUNTIME_CLASS(DataRequestedEventArgs, L"Windows.ApplicationModel.DataTransfer.DataRequestedEventArgs");
TAVLET_RUNTIME_CLASS(DataTransferManager, L"Windows.ApplicationModel.DataTransfer.DataTransferManager");
TAVLET_RUNTIME_CLASS(OperationCompletedEventArgs, L"Windows.ApplicationModel.DataTransfer.OperationCompletedEventArgs");
TAVLET_RUNTIME_CLASS(ShareCompletedEventArgs, L"Windows.ApplicationModel.DataTransfer.ShareCompletedEventArgs");
TAVLET_RUNTIME_CLASS(ShareProvider, L"Windows.ApplicationModel.DataTransfer.ShareProvider");
TAVLET_RUNTIME_CLASS(ShareProviderOperation, L"Windows.ApplicationModel.DataTransfer.ShareProviderOperation");
TAVLET_RUNTIME_CLASS(ShareProvidersRequestedEventArgs, L"Windows.ApplicationModel.DataTransfer.ShareProvidersRequestedEventArgs");
TAVLET_RUNTIME_CLASS(ShareTargetInfo, L"Windows.ApplicationModel.DataTransfer.ShareTargetInfo");
TAVLET_RUNTIME_CLASS(StandardDataFormats, L"Windows.ApplicationModel.DataTransfer.StandardDataFormats");
TAVLET_RUNTIME_CLASS(TargetApplicationChosenEventArgs, L"Windows.ApplicationModel.DataTransfer.TargetApplicationChosenEventArgs");

struct IDataTransferManager : IInspectable {
    TAVLET_IID(IDataTransferManager, "a5caee9b-8708-49d1-8d36-67d25a8da00c");
    virtual HRESULT STDMETHODCALLTYPE add_DataRequested(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::ApplicationModel::DataTransfer::IDataTransferManager*, ::abi::Windows::ApplicationModel::DataTransfer::IDataRequestedEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE remove_DataRequested(::abi::EventRegistrationToken token) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE add_TargetApplicationChosen(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::ApplicationModel::DataTransfer::IDataTransferManager*, ::abi::Windows::ApplicationModel::DataTransfer::ITargetApplicationChosenEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE remove_TargetApplicationChosen(::abi::EventRegistrationToken token) = 0;  // 9
};

struct IDataTransferManager2 : IInspectable {
    TAVLET_IID(IDataTransferManager2, "30ae7d71-8ba8-4c02-8e3f-ddb23b388715");
    virtual HRESULT STDMETHODCALLTYPE add_ShareProvidersRequested(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::ApplicationModel::DataTransfer::IDataTransferManager*, ::abi::Windows::ApplicationModel::DataTransfer::IShareProvidersRequestedEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE remove_ShareProvidersRequested(::abi::EventRegistrationToken token) = 0;  // 7
};

struct IDataTransferManagerStatics : IInspectable {
    TAVLET_IID(IDataTransferManagerStatics, "a9da01aa-e00e-4cfe-aa44-2dd932dca3d8");
    virtual HRESULT STDMETHODCALLTYPE ShowShareUI() = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE GetForCurrentView(::abi::Windows::ApplicationModel::DataTransfer::IDataTransferManager** result) = 0;  // 7
};

struct IDataTransferManagerStatics2 : IInspectable {
    TAVLET_IID(IDataTransferManagerStatics2, "c54ec2ec-9f97-4d63-9868-395e271ad8f5");
    virtual HRESULT STDMETHODCALLTYPE IsSupported(boolean* result) = 0;  // 6
};

struct IDataRequestedEventArgs : IInspectable {
    TAVLET_IID(IDataRequestedEventArgs, "cb8ba807-6ac5-43c9-8ac5-9ba232163182");
    virtual HRESULT STDMETHODCALLTYPE get_Request(::abi::Windows::ApplicationModel::DataTransfer::IDataRequest** value) = 0;  // 6
};

struct IDataRequest : IInspectable {
    TAVLET_IID(IDataRequest, "4341ae3b-fc12-4e53-8c02-ac714c415a27");
    virtual HRESULT STDMETHODCALLTYPE get_Data(::abi::Windows::ApplicationModel::DataTransfer::IDataPackage** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE put_Data(::abi::Windows::ApplicationModel::DataTransfer::IDataPackage* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_Deadline(::abi::Windows::Foundation::DateTime* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE FailWithDisplayText(HSTRING value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(IInspectable** result) = 0;  // 10
};

struct IDataPackage : IInspectable {
    TAVLET_IID(IDataPackage, "61ebf5c7-efea-4346-9554-981d7e198ffe");
    virtual HRESULT STDMETHODCALLTYPE GetView(IInspectable** result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Properties(::abi::Windows::ApplicationModel::DataTransfer::IDataPackagePropertySet** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_RequestedOperation(UINT32* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE put_RequestedOperation(UINT32 value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE add_OperationCompleted(IInspectable* handler, ::abi::EventRegistrationToken* token) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE remove_OperationCompleted(::abi::EventRegistrationToken token) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE add_Destroyed(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::ApplicationModel::DataTransfer::IDataPackage*, IInspectable*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE remove_Destroyed(::abi::EventRegistrationToken token) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE SetData(HSTRING formatId, IInspectable* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE SetDataProvider(HSTRING formatId, ::abi::Windows::ApplicationModel::DataTransfer::DataProviderHandler* delayRenderer) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE SetText(HSTRING value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE SetUri(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE SetHtmlFormat(HSTRING value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE get_ResourceMap(IInspectable** value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE SetRtf(HSTRING value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE SetBitmap(::abi::Windows::Storage::Streams::IRandomAccessStreamReference* value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE SetStorageItemsReadOnly(::abi::Windows::Foundation::Collections::IIterable<::abi::Windows::Storage::IStorageItem*>* value) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE SetStorageItems(::abi::Windows::Foundation::Collections::IIterable<::abi::Windows::Storage::IStorageItem*>* value, boolean readOnly) = 0;  // 23
};

struct IDataPackage3 : IInspectable {
    TAVLET_IID(IDataPackage3, "88f31f5d-787b-4d32-965a-a9838105a056");
    virtual HRESULT STDMETHODCALLTYPE add_ShareCompleted(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::ApplicationModel::DataTransfer::IDataPackage*, ::abi::Windows::ApplicationModel::DataTransfer::IShareCompletedEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE remove_ShareCompleted(::abi::EventRegistrationToken token) = 0;  // 7
};

struct IDataPackagePropertySet : IInspectable {
    TAVLET_IID(IDataPackagePropertySet, "cd1c93eb-4c4c-443a-a8d3-f5c241e91689");
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE put_Title(HSTRING value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_Description(HSTRING* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE put_Description(HSTRING value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_Thumbnail(::abi::Windows::Storage::Streams::IRandomAccessStreamReference** value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE put_Thumbnail(::abi::Windows::Storage::Streams::IRandomAccessStreamReference* value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE get_FileTypes(::abi::Windows::Foundation::Collections::IVector<HSTRING>** value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_ApplicationName(HSTRING* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE put_ApplicationName(HSTRING value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE get_ApplicationListingUri(::abi::Windows::Foundation::IUriRuntimeClass** value) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE put_ApplicationListingUri(::abi::Windows::Foundation::IUriRuntimeClass* value) = 0;  // 16
};

struct IStandardDataFormatsStatics : IInspectable {
    TAVLET_IID(IStandardDataFormatsStatics, "7ed681a1-a880-40c9-b4ed-0bee1e15f549");
    virtual HRESULT STDMETHODCALLTYPE get_Text(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Uri(HSTRING* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_Html(HSTRING* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Rtf(HSTRING* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_Bitmap(HSTRING* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_StorageItems(HSTRING* value) = 0;  // 11
};

struct IDataProviderRequest : IInspectable {
    TAVLET_IID(IDataProviderRequest, "ebbc7157-d3c8-47da-acde-f82388d5f716");
    virtual HRESULT STDMETHODCALLTYPE get_FormatId(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Deadline(::abi::Windows::Foundation::DateTime* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(::abi::Windows::ApplicationModel::DataTransfer::IDataProviderDeferral** value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE SetData(IInspectable* value) = 0;  // 9
};

struct IDataProviderDeferral : IInspectable {
    TAVLET_IID(IDataProviderDeferral, "c2cf2373-2d26-43d9-b69d-dcb86d03f6da");
    virtual HRESULT STDMETHODCALLTYPE Complete() = 0;  // 6
};

struct DataProviderHandler : IUnknown {
    TAVLET_IID(DataProviderHandler, "e7ecd720-f2f4-4a2d-920e-170a2f482a27");
    virtual HRESULT STDMETHODCALLTYPE Invoke(::abi::Windows::ApplicationModel::DataTransfer::IDataProviderRequest* request) = 0;  // 3
};

struct ITargetApplicationChosenEventArgs : IInspectable {
    TAVLET_IID(ITargetApplicationChosenEventArgs, "ca6fb8ac-2987-4ee3-9c54-d8afbcb86c1d");
    virtual HRESULT STDMETHODCALLTYPE get_ApplicationName(HSTRING* value) = 0;  // 6
};

struct IShareProvidersRequestedEventArgs : IInspectable {
    TAVLET_IID(IShareProvidersRequestedEventArgs, "f888f356-a3f8-4fce-85e4-8826e63be799");
    virtual HRESULT STDMETHODCALLTYPE get_Providers(::abi::Windows::Foundation::Collections::IVector<::abi::Windows::ApplicationModel::DataTransfer::IShareProvider*>** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Data(IInspectable** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetDeferral(IInspectable** result) = 0;  // 8
};

struct IShareProvider : IInspectable {
    TAVLET_IID(IShareProvider, "2fabe026-443e-4cda-af25-8d81070efd80");
    virtual HRESULT STDMETHODCALLTYPE get_Title(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_DisplayIcon(::abi::Windows::Storage::Streams::IRandomAccessStreamReference** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_BackgroundColor(::abi::Windows::UI::Color* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Tag(IInspectable** value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE put_Tag(IInspectable* value) = 0;  // 10
};

struct IShareProviderFactory : IInspectable {
    TAVLET_IID(IShareProviderFactory, "172a174c-e79e-4f6d-b07d-128f469e0296");
    virtual HRESULT STDMETHODCALLTYPE Create(HSTRING title, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* displayIcon, ::abi::Windows::UI::Color backgroundColor, ::abi::Windows::ApplicationModel::DataTransfer::ShareProviderHandler* handler, ::abi::Windows::ApplicationModel::DataTransfer::IShareProvider** result) = 0;  // 6
};

struct ShareProviderHandler : IUnknown {
    TAVLET_IID(ShareProviderHandler, "e7f9d9ba-e1ba-4e4d-bd65-d43845d3212f");
    virtual HRESULT STDMETHODCALLTYPE Invoke(::abi::Windows::ApplicationModel::DataTransfer::IShareProviderOperation* operation) = 0;  // 3
};

struct IShareProviderOperation : IInspectable {
    TAVLET_IID(IShareProviderOperation, "19cef937-d435-4179-b6af-14e0492b69f6");
    virtual HRESULT STDMETHODCALLTYPE get_Data(IInspectable** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Provider(::abi::Windows::ApplicationModel::DataTransfer::IShareProvider** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE ReportCompleted() = 0;  // 8
};

struct IShareCompletedEventArgs : IInspectable {
    TAVLET_IID(IShareCompletedEventArgs, "4574c442-f913-4f60-9df7-cc4060ab1916");
    virtual HRESULT STDMETHODCALLTYPE get_ShareTarget(IInspectable** value) = 0;  // 6
};

}  // namespace abi::Windows::ApplicationModel::DataTransfer

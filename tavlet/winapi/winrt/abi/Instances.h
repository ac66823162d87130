// IIDs of the instances of parameterized interfaces that the library and the
// test runtime use. Each is fixed by its type signature and copied here.
#pragma once

#include "Forward.h"
#include "Foundation.Generics.h"

namespace abi {

TAVLET_ABI_INSTANCE("e521c894-2c26-5946-9e61-2b5e188d01ed",
                    Windows::Foundation::AsyncOperationCompletedHandler<Windows::Storage::IStorageFile*>);
TAVLET_ABI_INSTANCE("9343b6e7-e3d2-5e4a-ab2d-2bce4919a6a4",
                    Windows::Foundation::AsyncOperationCompletedHandler<UINT32>);
TAVLET_ABI_INSTANCE("c1d3d1a2-ae17-5a5f-b5a2-bdcc8844889a",
                    Windows::Foundation::AsyncOperationCompletedHandler<boolean>);
TAVLET_ABI_INSTANCE("b0d63b78-78ad-5e31-b6d8-e32a0e16c447",
                    Windows::Foundation::Collections::IIterable<Windows::Foundation::IUriRuntimeClass*>);
TAVLET_ABI_INSTANCE("bb8b8418-65d1-544b-b083-6d172f568c73",
                    Windows::Foundation::Collections::IIterable<Windows::Storage::IStorageItem*>);
TAVLET_ABI_INSTANCE("05b487c2-3830-5d3c-98da-25fa11542dbd",
                    Windows::Foundation::Collections::IIterator<Windows::Storage::IStorageItem*>);
TAVLET_ABI_INSTANCE("a1687865-31e2-5536-97ec-292269a78046",
                    Windows::Foundation::Collections::IVector<Windows::ApplicationModel::DataTransfer::IShareProvider*>);
TAVLET_ABI_INSTANCE("bfde94e7-70f8-5cc0-98e2-8c0f8ce524ab",
                    Windows::Foundation::Collections::IVector<Windows::UI::Input::IRadialControllerMenuItem*>);
TAVLET_ABI_INSTANCE("98b9acc1-4b56-532e-ac73-03d5291cca90",
                    Windows::Foundation::Collections::IVector<HSTRING>);
TAVLET_ABI_INSTANCE("85575a41-06cb-58d0-b98a-7c8f06e6e9d7",
                    Windows::Foundation::Collections::IVectorView<Windows::Storage::IStorageItem*>);
TAVLET_ABI_INSTANCE("8cbd762a-1222-5ee5-b745-489e7a42c6ec",
                    Windows::Foundation::Collections::IVectorView<Windows::System::IUser*>);
TAVLET_ABI_INSTANCE("16f89727-d811-5051-9ab5-0cb86a0f0ac3",
                    Windows::Foundation::Collections::IVectorView<Windows::UI::StartScreen::ISecondaryTile*>);
TAVLET_ABI_INSTANCE("2f13c006-a03a-5f69-b090-75a43e33423e",
                    Windows::Foundation::Collections::IVectorView<HSTRING>);
TAVLET_ABI_INSTANCE("5e52f8ce-aced-5a42-95b4-f674dd84885e",
                    Windows::Foundation::IAsyncOperation<Windows::Storage::IStorageFile*>);
TAVLET_ABI_INSTANCE("430ecece-1418-5d19-81b2-5ddb381603cc",
                    Windows::Foundation::IAsyncOperation<Windows::Storage::Streams::IRandomAccessStream*>);
TAVLET_ABI_INSTANCE("65178d50-e6a2-5d16-b244-65e9725e5a0c",
                    Windows::Foundation::IAsyncOperation<Windows::Storage::Streams::IRandomAccessStreamReference*>);
TAVLET_ABI_INSTANCE("c4a57c5e-32b0-55b3-ad13-ce1c23041ed6",
                    Windows::Foundation::IAsyncOperation<Windows::Storage::Streams::IRandomAccessStreamWithContentType*>);
TAVLET_ABI_INSTANCE("abf53c57-ee50-5342-b52a-26e3b8cc024f",
                    Windows::Foundation::IAsyncOperation<IInspectable*>);
TAVLET_ABI_INSTANCE("ef60385f-be78-584b-aaef-7829ada2b0de",
                    Windows::Foundation::IAsyncOperation<UINT32>);
TAVLET_ABI_INSTANCE("cdb5efb3-5788-509d-9be1-71ccb8a3362a",
                    Windows::Foundation::IAsyncOperation<boolean>);
TAVLET_ABI_INSTANCE("5541d8a7-497c-5aa4-86fc-7713adbf2a2c",
                    Windows::Foundation::IReference<Windows::Foundation::DateTime>);
TAVLET_ABI_INSTANCE("f8f7e24a-56fe-58df-bc15-2365aec03966",
                    Windows::Foundation::TypedEventHandler<Windows::ApplicationModel::DataTransfer::IDataPackage*, Windows::ApplicationModel::DataTransfer::IShareCompletedEventArgs*>);
TAVLET_ABI_INSTANCE("c156b0c3-1cbc-5ca4-901c-62c5a8ca5cb5",
                    Windows::Foundation::TypedEventHandler<Windows::ApplicationModel::DataTransfer::IDataPackage*, IInspectable*>);
TAVLET_ABI_INSTANCE("ec6f9cc8-46d0-5e0e-b4d2-7d7773ae37a0",
                    Windows::Foundation::TypedEventHandler<Windows::ApplicationModel::DataTransfer::IDataTransferManager*, Windows::ApplicationModel::DataTransfer::IDataRequestedEventArgs*>);
TAVLET_ABI_INSTANCE("147e2860-7397-582f-80db-b8685383a937",
                    Windows::Foundation::TypedEventHandler<Windows::ApplicationModel::DataTransfer::IDataTransferManager*, Windows::ApplicationModel::DataTransfer::IShareProvidersRequestedEventArgs*>);
TAVLET_ABI_INSTANCE("c4ac1ba2-7851-5a44-bc8d-3d7c713f1f41",
                    Windows::Foundation::TypedEventHandler<Windows::ApplicationModel::DataTransfer::IDataTransferManager*, Windows::ApplicationModel::DataTransfer::ITargetApplicationChosenEventArgs*>);
TAVLET_ABI_INSTANCE("660bee4a-4fed-5a62-aa5d-8113b477bc69",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, Windows::UI::Input::IRadialControllerButtonPressedEventArgs*>);
TAVLET_ABI_INSTANCE("4ec5f3fd-b217-5452-a2bd-9725ce9f6675",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, Windows::UI::Input::IRadialControllerControlAcquiredEventArgs*>);
TAVLET_ABI_INSTANCE("8fe73ac9-8a36-5152-815d-03310ee8bf85",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, Windows::UI::Input::IRadialControllerRotationChangedEventArgs*>);
TAVLET_ABI_INSTANCE("30579e67-fb4f-5d38-83b4-9cb610090def",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, Windows::UI::Input::IRadialControllerScreenContactContinuedEventArgs*>);
TAVLET_ABI_INSTANCE("1f2d584e-3ad8-5049-b451-3a44a102fa82",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, Windows::UI::Input::IRadialControllerScreenContactStartedEventArgs*>);
TAVLET_ABI_INSTANCE("5e0f93b1-c2f2-5351-82aa-6cf5f4c2d068",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialController*, IInspectable*>);
TAVLET_ABI_INSTANCE("5c90d6fb-e4f8-5be2-8544-9de33f82c41a",
                    Windows::Foundation::TypedEventHandler<Windows::UI::Input::IRadialControllerMenuItem*, IInspectable*>);

}  // namespace abi

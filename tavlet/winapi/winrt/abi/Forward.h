// Forward declarations of every interface the library and the test runtime
// declare, so headers can name each other's interfaces without including them.
#pragma once

#include "Base.h"

namespace abi {
struct IInitializeWithWindow;
struct IDataTransferManagerInterop;
struct IRadialControllerInterop;
struct IRadialControllerConfigurationInterop;
}  // namespace abi

namespace abi::Windows::Foundation {
struct IStringable;
struct IClosable;
struct IUriRuntimeClass;
struct IUriRuntimeClassFactory;
struct IPropertyValueStatics;
struct IPropertyValue;
struct IAsyncInfo;
struct IAsyncAction;
struct AsyncActionCompletedHandler;
}  // namespace abi::Windows::Foundation

namespace abi::Windows::Foundation::Metadata {
struct IApiInformationStatics;
}  // namespace abi::Windows::Foundation::Metadata

namespace abi::Windows::UI::Input {
struct IRadialControllerStatics;
struct IRadialController;
struct IRadialController2;
struct IRadialControllerConfiguration;
struct IRadialControllerConfigurationStatics;
struct IRadialControllerConfigurationStatics2;
struct IRadialControllerMenu;
struct IRadialControllerMenuItem;
struct IRadialControllerMenuItemStatics;
struct IRadialControllerRotationChangedEventArgs;
struct IRadialControllerRotationChangedEventArgs2;
struct IRadialControllerButtonPressedEventArgs;
struct IRadialControllerScreenContactStartedEventArgs;
struct IRadialControllerScreenContactContinuedEventArgs;
struct IRadialControllerControlAcquiredEventArgs;
struct IRadialControllerScreenContact;
}  // namespace abi::Windows::UI::Input

namespace abi::Windows::UI::StartScreen {
struct ISecondaryTile;
struct ISecondaryTile2;
struct ISecondaryTileFactory;
struct ISecondaryTileFactory2;
struct ISecondaryTileStatics;
struct ISecondaryTileVisualElements;
struct ISecondaryTileVisualElements2;
struct ISecondaryTileVisualElements3;
}  // namespace abi::Windows::UI::StartScreen

namespace abi::Windows::UI::Notifications {
struct ITileUpdateManagerStatics;
struct ITileUpdateManagerStatics2;
struct ITileUpdateManagerForUser;
struct ITileUpdater;
struct ITileUpdater2;
struct ITileNotification;
struct ITileNotificationFactory;
}  // namespace abi::Windows::UI::Notifications

namespace abi::Windows::System {
struct IUser;
struct IUserStatics;
}  // namespace abi::Windows::System

namespace abi::Windows::Data::Xml::Dom {
struct IXmlDocument;
struct IXmlDocumentIO;
}  // namespace abi::Windows::Data::Xml::Dom

namespace abi::Windows::Storage {
struct IStorageFileStatics;
struct IStorageFile;
struct IStorageItem;
}  // namespace abi::Windows::Storage

namespace abi::Windows::Storage::Streams {
struct IRandomAccessStreamReference;
struct IRandomAccessStreamReferenceStatics;
struct IRandomAccessStream;
struct IInputStream;
struct IOutputStream;
struct IDataWriter;
struct IDataWriterFactory;
struct IRandomAccessStreamWithContentType;
}  // namespace abi::Windows::Storage::Streams

namespace abi::Windows::ApplicationModel::DataTransfer {
struct IDataTransferManager;
struct IDataTransferManager2;
struct IDataTransferManagerStatics;
struct IDataTransferManagerStatics2;
struct IDataRequestedEventArgs;
struct IDataRequest;
struct IDataPackage;
struct IDataPackage3;
struct IDataPackagePropertySet;
struct IStandardDataFormatsStatics;
struct IDataProviderRequest;
struct IDataProviderDeferral;
struct DataProviderHandler;
struct ITargetApplicationChosenEventArgs;
struct IShareProvidersRequestedEventArgs;
struct IShareProvider;
struct IShareProviderFactory;
struct ShareProviderHandler;
struct IShareProviderOperation;
struct IShareCompletedEventArgs;
}  // namespace abi::Windows::ApplicationModel::DataTransfer

// One short name per runtime namespace. Code names a runtime type through its
// namespace (`StartScreen::ISecondaryTile`), so no unit keeps a list of
// `using` declarations.
#pragma once

#include "tavlet/winapi/winrt/abi/Forward.h"

namespace abi::Windows::Foundation::Collections {}
namespace abi::Windows::UI {}

namespace tavlet::winapi {

namespace Collections = abi::Windows::Foundation::Collections;
namespace DataTransfer = abi::Windows::ApplicationModel::DataTransfer;
namespace Foundation = abi::Windows::Foundation;
namespace Input = abi::Windows::UI::Input;
namespace Metadata = abi::Windows::Foundation::Metadata;
namespace Notifications = abi::Windows::UI::Notifications;
namespace StartScreen = abi::Windows::UI::StartScreen;
namespace Storage = abi::Windows::Storage;
namespace Streams = abi::Windows::Storage::Streams;
namespace System = abi::Windows::System;
namespace UI = abi::Windows::UI;
namespace XmlDom = abi::Windows::Data::Xml::Dom;

}  // namespace tavlet::winapi

// Windows.UI.Input
#pragma once

#include "Instances.h"

namespace abi::Windows::UI::Input {

TAVLET_RUNTIME_CLASS(RadialController, L"Windows.UI.Input.RadialController");
TAVLET_RUNTIME_CLASS(RadialControllerButtonClickedEventArgs, L"Windows.UI.Input.RadialControllerButtonClickedEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerButtonHoldingEventArgs, L"Windows.UI.Input.RadialControllerButtonHoldingEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerButtonPressedEventArgs, L"Windows.UI.Input.RadialControllerButtonPressedEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerButtonReleasedEventArgs, L"Windows.UI.Input.RadialControllerButtonReleasedEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerConfiguration, L"Windows.UI.Input.RadialControllerConfiguration");
TAVLET_RUNTIME_CLASS(RadialControllerControlAcquiredEventArgs, L"Windows.UI.Input.RadialControllerControlAcquiredEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerMenu, L"Windows.UI.Input.RadialControllerMenu");
TAVLET_RUNTIME_CLASS(RadialControllerMenuItem, L"Windows.UI.Input.RadialControllerMenuItem");
TAVLET_RUNTIME_CLASS(RadialControllerRotationChangedEventArgs, L"Windows.UI.Input.RadialControllerRotationChangedEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerScreenContact, L"Windows.UI.Input.RadialControllerScreenContact");
TAVLET_RUNTIME_CLASS(RadialControllerScreenContactContinuedEventArgs, L"Windows.UI.Input.RadialControllerScreenContactContinuedEventArgs");
TAVLET_RUNTIME_CLASS(RadialControllerScreenContactStartedEventArgs, L"Windows.UI.Input.RadialControllerScreenContactStartedEventArgs");

struct IRadialControllerStatics : IInspectable {
    TAVLET_IID(IRadialControllerStatics, "faded0b7-b84c-4894-87aa-8f25aa5f288b");
    virtual HRESULT STDMETHODCALLTYPE IsSupported(boolean* result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateForCurrentView(::abi::Windows::UI::Input::IRadialController** result) = 0;  // 7
};

struct IRadialController : IInspectable {
    TAVLET_IID(IRadialController, "3055d1c8-df51-43d4-b23b-0e1037467a09");
    virtual HRESULT STDMETHODCALLTYPE get_Menu(::abi::Windows::UI::Input::IRadialControllerMenu** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_RotationResolutionInDegrees(DOUBLE* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_RotationResolutionInDegrees(DOUBLE value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_UseAutomaticHapticFeedback(boolean* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE put_UseAutomaticHapticFeedback(boolean value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE add_ScreenContactStarted(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, ::abi::Windows::UI::Input::IRadialControllerScreenContactStartedEventArgs*>* handler, ::abi::EventRegistrationToken* cookie) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE remove_ScreenContactStarted(::abi::EventRegistrationToken cookie) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE add_ScreenContactEnded(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, IInspectable*>* handler, ::abi::EventRegistrationToken* cookie) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE remove_ScreenContactEnded(::abi::EventRegistrationToken cookie) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE add_ScreenContactContinued(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, ::abi::Windows::UI::Input::IRadialControllerScreenContactContinuedEventArgs*>* handler, ::abi::EventRegistrationToken* cookie) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE remove_ScreenContactContinued(::abi::EventRegistrationToken cookie) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE add_ControlLost(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, IInspectable*>* handler, ::abi::EventRegistrationToken* cookie) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE remove_ControlLost(::abi::EventRegistrationToken cookie) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE add_RotationChanged(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, ::abi::Windows::UI::Input::IRadialControllerRotationChangedEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE remove_RotationChanged(::abi::EventRegistrationToken token) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE add_ButtonClicked(IInspectable* handler, ::abi::EventRegistrationToken* token) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE remove_ButtonClicked(::abi::EventRegistrationToken token) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE add_ControlAcquired(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, ::abi::Windows::UI::Input::IRadialControllerControlAcquiredEventArgs*>* handler, ::abi::EventRegistrationToken* cookie) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE remove_ControlAcquired(::abi::EventRegistrationToken cookie) = 0;  // 24
};

struct IRadialController2 : IInspectable {
    TAVLET_IID(IRadialController2, "3d577eff-4cee-11e6-b535-001bdc06ab3b");
    virtual HRESULT STDMETHODCALLTYPE add_ButtonPressed(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialController*, ::abi::Windows::UI::Input::IRadialControllerButtonPressedEventArgs*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE remove_ButtonPressed(::abi::EventRegistrationToken token) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE add_ButtonHolding(IInspectable* handler, ::abi::EventRegistrationToken* token) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE remove_ButtonHolding(::abi::EventRegistrationToken token) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE add_ButtonReleased(IInspectable* handler, ::abi::EventRegistrationToken* token) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE remove_ButtonReleased(::abi::EventRegistrationToken token) = 0;  // 11
};

struct IRadialControllerConfiguration : IInspectable {
    TAVLET_IID(IRadialControllerConfiguration, "a6b79ecb-6a52-4430-910c-56370a9d6b42");
    virtual HRESULT STDMETHODCALLTYPE SetDefaultMenuItems(IInspectable* buttons) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE ResetToDefaultMenuItems() = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE TrySelectDefaultMenuItem(INT32 type, boolean* result) = 0;  // 8
};

struct IRadialControllerConfigurationStatics : IInspectable {
    TAVLET_IID(IRadialControllerConfigurationStatics, "79b6b0e5-069a-4486-a99d-8db772b9642f");
    virtual HRESULT STDMETHODCALLTYPE GetForCurrentView(::abi::Windows::UI::Input::IRadialControllerConfiguration** configuration) = 0;  // 6
};

struct IRadialControllerConfigurationStatics2 : IInspectable {
    TAVLET_IID(IRadialControllerConfigurationStatics2, "53e08b17-e205-48d3-9caf-80ff47c4d7c7");
    virtual HRESULT STDMETHODCALLTYPE put_AppController(::abi::Windows::UI::Input::IRadialController* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_AppController(::abi::Windows::UI::Input::IRadialController** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_IsAppControllerEnabled(boolean value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_IsAppControllerEnabled(boolean* value) = 0;  // 9
};

struct IRadialControllerMenu : IInspectable {
    TAVLET_IID(IRadialControllerMenu, "8506b35d-f640-4412-aba0-bad077e5ea8a");
    virtual HRESULT STDMETHODCALLTYPE get_Items(::abi::Windows::Foundation::Collections::IVector<::abi::Windows::UI::Input::IRadialControllerMenuItem*>** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_IsEnabled(boolean* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_IsEnabled(boolean value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE GetSelectedMenuItem(::abi::Windows::UI::Input::IRadialControllerMenuItem** result) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE SelectMenuItem(::abi::Windows::UI::Input::IRadialControllerMenuItem* menuItem) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE TrySelectPreviouslySelectedMenuItem(boolean* result) = 0;  // 11
};

struct IRadialControllerMenuItem : IInspectable {
    TAVLET_IID(IRadialControllerMenuItem, "c80fc98d-ad0b-4c9c-8f2f-136a2373a6ba");
    virtual HRESULT STDMETHODCALLTYPE get_DisplayText(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Tag(IInspectable** value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE put_Tag(IInspectable* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE add_Invoked(::abi::Windows::Foundation::TypedEventHandler<::abi::Windows::UI::Input::IRadialControllerMenuItem*, IInspectable*>* handler, ::abi::EventRegistrationToken* token) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE remove_Invoked(::abi::EventRegistrationToken token) = 0;  // 10
};

struct IRadialControllerMenuItemStatics : IInspectable {
    TAVLET_IID(IRadialControllerMenuItemStatics, "249e0887-d842-4524-9df8-e0d647edc887");
    virtual HRESULT STDMETHODCALLTYPE CreateFromIcon(HSTRING displayText, ::abi::Windows::Storage::Streams::IRandomAccessStreamReference* icon, ::abi::Windows::UI::Input::IRadialControllerMenuItem** result) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateFromKnownIcon(HSTRING displayText, INT32 value, ::abi::Windows::UI::Input::IRadialControllerMenuItem** result) = 0;  // 7
};

struct IRadialControllerRotationChangedEventArgs : IInspectable {
    TAVLET_IID(IRadialControllerRotationChangedEventArgs, "206aa435-e651-11e5-bf62-2c27d7404e85");
    virtual HRESULT STDMETHODCALLTYPE get_RotationDeltaInDegrees(DOUBLE* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Contact(::abi::Windows::UI::Input::IRadialControllerScreenContact** value) = 0;  // 7
};

struct IRadialControllerRotationChangedEventArgs2 : IInspectable {
    TAVLET_IID(IRadialControllerRotationChangedEventArgs2, "3d577eec-4cee-11e6-b535-001bdc06ab3b");
    virtual HRESULT STDMETHODCALLTYPE get_IsButtonPressed(boolean* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_SimpleHapticsController(IInspectable** value) = 0;  // 7
};

struct IRadialControllerButtonPressedEventArgs : IInspectable {
    TAVLET_IID(IRadialControllerButtonPressedEventArgs, "3d577eed-4cee-11e6-b535-001bdc06ab3b");
    virtual HRESULT STDMETHODCALLTYPE get_Contact(::abi::Windows::UI::Input::IRadialControllerScreenContact** value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_SimpleHapticsController(IInspectable** value) = 0;  // 7
};

struct IRadialControllerScreenContactStartedEventArgs : IInspectable {
    TAVLET_IID(IRadialControllerScreenContactStartedEventArgs, "206aa436-e651-11e5-bf62-2c27d7404e85");
    virtual HRESULT STDMETHODCALLTYPE get_Contact(::abi::Windows::UI::Input::IRadialControllerScreenContact** value) = 0;  // 6
};

struct IRadialControllerScreenContactContinuedEventArgs : IInspectable {
    TAVLET_IID(IRadialControllerScreenContactContinuedEventArgs, "206aa437-e651-11e5-bf62-2c27d7404e85");
    virtual HRESULT STDMETHODCALLTYPE get_Contact(::abi::Windows::UI::Input::IRadialControllerScreenContact** value) = 0;  // 6
};

struct IRadialControllerControlAcquiredEventArgs : IInspectable {
    TAVLET_IID(IRadialControllerControlAcquiredEventArgs, "206aa439-e651-11e5-bf62-2c27d7404e85");
    virtual HRESULT STDMETHODCALLTYPE get_Contact(::abi::Windows::UI::Input::IRadialControllerScreenContact** value) = 0;  // 6
};

struct IRadialControllerScreenContact : IInspectable {
    TAVLET_IID(IRadialControllerScreenContact, "206aa434-e651-11e5-bf62-2c27d7404e85");
    virtual HRESULT STDMETHODCALLTYPE get_Bounds(::abi::Windows::Foundation::Rect* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Position(::abi::Windows::Foundation::Point* value) = 0;  // 7
};

}  // namespace abi::Windows::UI::Input

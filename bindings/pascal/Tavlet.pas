{ Tavlet.pas - tavlet.dll for Delphi and Free Pascal hosts (64-bit Windows).

  The same declarations as include/tavlet.h: every export under its own name
  (WinRTDialIntialize is spelt as the DLL exports it), the handles as distinct
  pointer types, the argument records with the header's exact layout, the
  callback types, the HRESULTs the documentation names, and helpers for the
  BSTRs and UTF-8 texts that come back. Written in the Delphi language that
  both compilers accept (Free Pascal in Delphi mode); it uses System and
  SysUtils only.

  Every export is stdcall, which on x64 is the platform's one convention.
  Text goes in as NUL-terminated UTF-16 (PWideChar: PWideChar(S) of a
  UnicodeString or WideString); the one UTF-8 input is the path of
  WinRTShareFileForWindow (Utf8Path). Strings that come back are BSTRs that
  the caller frees: TakeBSTR copies one into a UnicodeString and frees it.
  The share callbacks get UTF-8 texts valid only during the call: Utf8Text
  copies one. See docs/integration.md and the other documents for the rules
  of each family; the unit adds no behaviour of its own. }
unit Tavlet;

{$IFDEF FPC}
  {$MODE DELPHI}
{$ENDIF}

{$IFNDEF WIN64}
  {$MESSAGE FATAL 'tavlet.dll is a 64-bit Windows DLL: build the host for Win64'}
{$ENDIF}

interface

const
  TavletDll = 'tavlet.dll';

  TAVLET_VERSION_MAJOR = 0;
  TAVLET_VERSION_MINOR = 1;
  TAVLET_VERSION_PATCH = 0;
  TAVLET_VERSION_STRING = '0.1.0';

  { HRESULTs the library returns or passes through from the runtime. }
  S_OK = HRESULT($00000000);
  E_NOTIMPL = HRESULT($80004001);
  E_NOINTERFACE = HRESULT($80004002);
  E_FAIL = HRESULT($80004005);
  E_UNEXPECTED = HRESULT($8000FFFF);
  E_OUTOFMEMORY = HRESULT($8007000E);
  E_INVALIDARG = HRESULT($80070057);
  E_ILLEGAL_STATE_CHANGE = HRESULT($8000000D);
  E_ILLEGAL_METHOD_CALL = HRESULT($8000000E);
  E_ILLEGAL_DELEGATE_ASSIGNMENT = HRESULT($80000018);
  { A canceled operation's result (HRESULT_FROM_WIN32(ERROR_CANCELLED)). }
  HRESULT_ERROR_CANCELLED = HRESULT($800704C7);
  { The runtime's module was not found (HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)). }
  HRESULT_ERROR_MOD_NOT_FOUND = HRESULT($8007007E);

  { Tile sizes, shared by secondary tiles and the tile updater. }
  _WinRTTileSize_Default = 0;
  _WinRTTileSize_Tiny = 1;   { Square44x44 }
  _WinRTTileSize_Small = 2;  { Square71x71 }
  _WinRTTileSize_Medium = 3; { Square150x150 }
  _WinRTTileSize_Wide = 4;   { Wide310x150 }
  _WinRTTileSize_Large = 5;  { Square310x310 }

  _WinRTAsyncStatus_Started = 0;
  _WinRTAsyncStatus_Completed = 1;
  _WinRTAsyncStatus_Canceled = 2;
  _WinRTAsyncStatus_Error = 3;

  _WinRTTileUpdate_NoExpiration = UInt64($FFFFFFFFFFFFFFFF);

type
  { The Win32 types of the header, declared here so that the unit needs no
    Windows unit; each is assignment-compatible with its Windows-unit twin. }
  BOOL = LongBool;
  HWND = NativeUInt;
  BSTR = PWideChar;
  _WinRTTileSize = Cardinal;

  { The dial's callbacks take a Win32 POINT and RECT by value. }
  TWinRTPoint = record
    X, Y: Integer;
  end;
  TWinRTRect = record
    Left, Top, Right, Bottom: Integer;
  end;

  { Handles: the opaque objects are empty records, so that one family's
    handle cannot be passed where another's is expected. }
  TWinRTAsyncOperationBOOL = record end;
  PWinRTAsyncOperationBOOL = ^TWinRTAsyncOperationBOOL;
  TWinRTDial = record end;
  PWinRTDial = ^TWinRTDial;
  TWinRTSecondaryTile = record end;
  PWinRTSecondaryTile = ^TWinRTSecondaryTile;
  TWinRTSecondaryTileVisualElements = record end;
  PWinRTSecondaryTileVisualElements = ^TWinRTSecondaryTileVisualElements;
  TWinRTTileUpdater = record end;
  PWinRTTileUpdater = ^TWinRTTileUpdater;
  TWinRTShareProvider = record end;
  PWinRTShareProvider = ^TWinRTShareProvider;
  TWinRTShareProviderOperation = record end;
  PWinRTShareProviderOperation = ^TWinRTShareProviderOperation;

  { Callbacks. Each runs on the thread the documentation names for it. }
  TAsyncOperationBOOLCompletedHandler = procedure(Context: Pointer; Answer: BOOL); stdcall;
  TDialRotationChangedHandler = procedure(DeltaDegrees: Single; Point: TWinRTPoint; Bounds: TWinRTRect;
    IsButtonPressed: Cardinal); stdcall;
  TDialContactHandler = procedure(Point: TWinRTPoint; Bounds: TWinRTRect); stdcall;
  TDialNotifyHandler = procedure; stdcall;
  TDialMenuItemHandler = procedure; stdcall;
  TShareProviderOperationHandler = procedure(Context: Pointer; Operation: PWinRTShareProviderOperation); stdcall;
  TShareDataCompletedHandler = procedure(TargetApplicationName: PAnsiChar; Context: Pointer; Data: Pointer); stdcall;
  TShareFileCompletedHandler = procedure(TargetApplicationName: PAnsiChar; Context: Pointer; Path: PAnsiChar); stdcall;

  { The argument records, laid out byte for byte as in tavlet.h (packed, with
    the C compiler's padding written out), whatever the alignment setting. }
  TWinRTSecondaryTileCreateArgs = packed record
    Reserved: Pointer;         { not read }
    DisplayName: PWideChar;
    Arguments: PWideChar;      { given to the application when the tile is launched }
    LogoUri: PWideChar;        { Square150x150 logo, e.g. 'ms-appx:///Assets/Logo.png' }
    OwnerWindow: HWND;         { owner of the system's pin dialog; 0 for none }
    Size: _WinRTTileSize;      { 0..5 }
    Padding: Cardinal;
  end;
  PWinRTSecondaryTileCreateArgs = ^TWinRTSecondaryTileCreateArgs;

  TWinRTTileUpdateArgs = packed record
    StructSize: Cardinal;      { SizeOf(TWinRTTileUpdateArgs), 32 }
    Padding: Cardinal;
    Xml: PWideChar;            { tile XML; not nil }
    Tag: PWideChar;            { not nil; '' for no tag }
    Expiration: UInt64;        { seconds since 1970-01-01 UTC, or _WinRTTileUpdate_NoExpiration }
  end;
  PWinRTTileUpdateArgs = ^TWinRTTileUpdateArgs;

  TWinRTShareProviderInitArgs = packed record
    StructSize: Cardinal;      { must be SizeOf(TWinRTShareProviderInitArgs), 48 }
    Padding1: Cardinal;
    Title: PWideChar;          { nil is taken as '' }
    IconUri: PWideChar;        { e.g. 'ms-appx:///Assets/share.png' }
    BackgroundColor: Cardinal; { $AARRGGBB }
    Padding2: Cardinal;
    Callback: TShareProviderOperationHandler; { required }
    Context: Pointer;          { passed back to Callback }
  end;
  PWinRTShareProviderInitArgs = ^TWinRTShareProviderInitArgs;

{ ---- Availability ---- }
function _WinRTApiInformation_IsEnabledType(TypeName: PWideChar): BOOL; stdcall;
  external TavletDll name '_WinRTApiInformation_IsEnabledType';
function _WinRTApiInformation_IsEnabledMethod(TypeName, MethodName: PWideChar): BOOL; stdcall;
  external TavletDll name '_WinRTApiInformation_IsEnabledMethod';
function _WinRTApiInformation_IsEnabledEvent(TypeName, EventName: PWideChar): BOOL; stdcall;
  external TavletDll name '_WinRTApiInformation_IsEnabledEvent';

{ ---- Asynchronous boolean operations ---- }
function _WinRTAsyncOperationBOOL_GetStatus(Operation: PWinRTAsyncOperationBOOL; out Status: Integer): HRESULT;
  stdcall; external TavletDll name '_WinRTAsyncOperationBOOL_GetStatus';
function _WinRTAsyncOperationBOOL_GetResults(Operation: PWinRTAsyncOperationBOOL; out Answer: BOOL): HRESULT;
  stdcall; external TavletDll name '_WinRTAsyncOperationBOOL_GetResults';
function _WinRTAsyncOperationBOOL_Cancel(Operation: PWinRTAsyncOperationBOOL): HRESULT; stdcall;
  external TavletDll name '_WinRTAsyncOperationBOOL_Cancel';
function _WinRTAsyncOperationBOOL_Close(Operation: PWinRTAsyncOperationBOOL): HRESULT; stdcall;
  external TavletDll name '_WinRTAsyncOperationBOOL_Close';
function _WinRTAsyncOperationBOOL_Completed(Operation: PWinRTAsyncOperationBOOL;
  Callback: TAsyncOperationBOOLCompletedHandler; Context: Pointer): HRESULT; stdcall;
  external TavletDll name '_WinRTAsyncOperationBOOL_Completed';
function _WinRTAsyncOperationBOOL_Dealloc(Operation: PWinRTAsyncOperationBOOL): HRESULT; stdcall;
  external TavletDll name '_WinRTAsyncOperationBOOL_Dealloc';

{ ---- Radial controller (dial) ---- }
{ E_NOINTERFACE when the system has no radial controller. (The spelling is part of the ABI.) }
function WinRTDialIntialize: HRESULT; stdcall; external TavletDll name 'WinRTDialIntialize';
function WinRTDialTerminate: HRESULT; stdcall; external TavletDll name 'WinRTDialTerminate';
function WinRTDialIsAvailable: BOOL; stdcall; external TavletDll name 'WinRTDialIsAvailable';
function WinRTDialCreate(Window: HWND; out Dial: PWinRTDial): HRESULT; stdcall;
  external TavletDll name 'WinRTDialCreate';
function WinRTDialSetRotationResolution(Dial: PWinRTDial; Degrees: Single): HRESULT; stdcall;
  external TavletDll name 'WinRTDialSetRotationResolution';
{ A nil handler removes the registration. }
function WinRTDialSetRotationChangedHandler(Dial: PWinRTDial; Handler: TDialRotationChangedHandler): HRESULT;
  stdcall; external TavletDll name 'WinRTDialSetRotationChangedHandler';
function WinRTDialSetButtonPressedHandler(Dial: PWinRTDial; Handler: TDialContactHandler): HRESULT; stdcall;
  external TavletDll name 'WinRTDialSetButtonPressedHandler';
function WinRTDialSetScreenContactStartedHandler(Dial: PWinRTDial; Handler: TDialContactHandler): HRESULT;
  stdcall; external TavletDll name 'WinRTDialSetScreenContactStartedHandler';
function WinRTDialSetScreenContactContinuedHandler(Dial: PWinRTDial; Handler: TDialContactHandler): HRESULT;
  stdcall; external TavletDll name 'WinRTDialSetScreenContactContinuedHandler';
function WinRTDialSetScreenContactEndedHandler(Dial: PWinRTDial; Handler: TDialNotifyHandler): HRESULT;
  stdcall; external TavletDll name 'WinRTDialSetScreenContactEndedHandler';
function WinRTDialSetControlAcquiredHandler(Dial: PWinRTDial; Handler: TDialContactHandler): HRESULT; stdcall;
  external TavletDll name 'WinRTDialSetControlAcquiredHandler';
function WinRTDialSetControlLostHandler(Dial: PWinRTDial; Handler: TDialNotifyHandler): HRESULT; stdcall;
  external TavletDll name 'WinRTDialSetControlLostHandler';
function WinRTDialGetNumberOfMenuItems(Dial: PWinRTDial; out Count: Cardinal): HRESULT; stdcall;
  external TavletDll name 'WinRTDialGetNumberOfMenuItems';
function WinRTDialClearMenu(Dial: PWinRTDial): HRESULT; stdcall; external TavletDll name 'WinRTDialClearMenu';
{ Reserved is never read. }
function WinRTDialAppendKnownMenuItem(Dial: PWinRTDial; Reserved: Pointer; DisplayText: PWideChar;
  Handler: TDialMenuItemHandler; out Id: Cardinal): HRESULT; stdcall;
  external TavletDll name 'WinRTDialAppendKnownMenuItem';
function WinRTDialAppendIconMenuItem(Dial: PWinRTDial; IconPath, DisplayText: PWideChar;
  Handler: TDialMenuItemHandler; out Id: Cardinal): HRESULT; stdcall;
  external TavletDll name 'WinRTDialAppendIconMenuItem';
function WinRTDialCommitPendingMenuAdditions(Dial: PWinRTDial): HRESULT; stdcall;
  external TavletDll name 'WinRTDialCommitPendingMenuAdditions';

{ ---- Secondary tiles ---- }
function _WinRTSecondaryTile_Alloc(out Tile: PWinRTSecondaryTile): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_Alloc';
function _WinRTSecondaryTile_InitWithTileID(Tile: PWinRTSecondaryTile; TileId: PWideChar): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_InitWithTileID';
function _WinRTSecondaryTile_InitWithCreateArgs(Tile: PWinRTSecondaryTile; TileId: PWideChar;
  Args: PWinRTSecondaryTileCreateArgs): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_InitWithCreateArgs';
function _WinRTSecondaryTile_Exists(TileId: PWideChar; out Exists: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_Exists';
function _WinRTSecondaryTile_GetTileID(Tile: PWinRTSecondaryTile; out TileId: BSTR): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_GetTileID';
function _WinRTSecondaryTile_GetVisualElements(Tile: PWinRTSecondaryTile;
  out Elements: PWinRTSecondaryTileVisualElements): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_GetVisualElements';
function _WinRTSecondaryTile_RequestCreateAsync(Tile: PWinRTSecondaryTile;
  out Operation: PWinRTAsyncOperationBOOL): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_RequestCreateAsync';
function _WinRTSecondaryTile_RequestDeleteAsync(Tile: PWinRTSecondaryTile;
  out Operation: PWinRTAsyncOperationBOOL): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_RequestDeleteAsync';
function _WinRTSecondaryTile_Dealloc(Tile: PWinRTSecondaryTile): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTile_Dealloc';

{ Colour $AARRGGBB; foreground text 1 dark, 0 light; show-name flags 1 or 0.
  A logo that the tile does not have gives S_OK and a nil BSTR. }
function _WinRTSecondaryTileVisualElements_GetBackgroundColor(Elements: PWinRTSecondaryTileVisualElements;
  out Color: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_GetBackgroundColor';
function _WinRTSecondaryTileVisualElements_GetForegroundText(Elements: PWinRTSecondaryTileVisualElements;
  out Foreground: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_GetForegroundText';
function _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium(Elements: PWinRTSecondaryTileVisualElements;
  out Show: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnMedium';
function _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide(Elements: PWinRTSecondaryTileVisualElements;
  out Show: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnWide';
function _WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge(Elements: PWinRTSecondaryTileVisualElements;
  out Show: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_GetShowDisplayNameOnLarge';
function _WinRTSecondaryTileVisualElements_GetLogoUriTiny(Elements: PWinRTSecondaryTileVisualElements;
  out Uri: BSTR): HRESULT; stdcall; external TavletDll name '_WinRTSecondaryTileVisualElements_GetLogoUriTiny';
function _WinRTSecondaryTileVisualElements_GetLogoUriSmall(Elements: PWinRTSecondaryTileVisualElements;
  out Uri: BSTR): HRESULT; stdcall; external TavletDll name '_WinRTSecondaryTileVisualElements_GetLogoUriSmall';
function _WinRTSecondaryTileVisualElements_GetLogoUriMedium(Elements: PWinRTSecondaryTileVisualElements;
  out Uri: BSTR): HRESULT; stdcall; external TavletDll name '_WinRTSecondaryTileVisualElements_GetLogoUriMedium';
function _WinRTSecondaryTileVisualElements_GetLogoUriWide(Elements: PWinRTSecondaryTileVisualElements;
  out Uri: BSTR): HRESULT; stdcall; external TavletDll name '_WinRTSecondaryTileVisualElements_GetLogoUriWide';
function _WinRTSecondaryTileVisualElements_GetLogoUriLarge(Elements: PWinRTSecondaryTileVisualElements;
  out Uri: BSTR): HRESULT; stdcall; external TavletDll name '_WinRTSecondaryTileVisualElements_GetLogoUriLarge';
function _WinRTSecondaryTileVisualElements_Dealloc(Elements: PWinRTSecondaryTileVisualElements): HRESULT; stdcall;
  external TavletDll name '_WinRTSecondaryTileVisualElements_Dealloc';

{ ---- Tile updater ---- }
function _WinRTTileUpdater_Alloc(out Updater: PWinRTTileUpdater): HRESULT; stdcall;
  external TavletDll name '_WinRTTileUpdater_Alloc';
{ Nil or empty texts: the calling application's own main tile, for no particular user. }
function _WinRTTileUpdater_InitWithPrimaryTile(Updater: PWinRTTileUpdater; ApplicationId, UserId: PWideChar): HRESULT;
  stdcall; external TavletDll name '_WinRTTileUpdater_InitWithPrimaryTile';
function _WinRTTileUpdater_InitWithSecondaryTile(Updater: PWinRTTileUpdater; TileId, UserId: PWideChar): HRESULT;
  stdcall; external TavletDll name '_WinRTTileUpdater_InitWithSecondaryTile';
function _WinRTTileUpdater_Update(Updater: PWinRTTileUpdater; Args: PWinRTTileUpdateArgs): HRESULT; stdcall;
  external TavletDll name '_WinRTTileUpdater_Update';
function _WinRTTileUpdater_Clear(Updater: PWinRTTileUpdater): HRESULT; stdcall;
  external TavletDll name '_WinRTTileUpdater_Clear';
function _WinRTTileUpdater_EnableNotificationQueuing(Updater: PWinRTTileUpdater; Enable: Cardinal): HRESULT;
  stdcall; external TavletDll name '_WinRTTileUpdater_EnableNotificationQueuing';
{ Size: _WinRTTileSize_Medium, _Wide or _Large. }
function _WinRTTileUpdater_EnableNotificationQueuingForTileSize(Updater: PWinRTTileUpdater;
  Size, Enable: Cardinal): HRESULT; stdcall;
  external TavletDll name '_WinRTTileUpdater_EnableNotificationQueuingForTileSize';
function _WinRTTileUpdater_Dealloc(Updater: PWinRTTileUpdater): HRESULT; stdcall;
  external TavletDll name '_WinRTTileUpdater_Dealloc';

{ ---- Share providers ---- }
function _WinRTShareProvider_Alloc(out Provider: PWinRTShareProvider): HRESULT; stdcall;
  external TavletDll name '_WinRTShareProvider_Alloc';
function _WinRTShareProvider_InitWithArgs(Provider: PWinRTShareProvider;
  Args: PWinRTShareProviderInitArgs): HRESULT; stdcall; external TavletDll name '_WinRTShareProvider_InitWithArgs';
{ Before the runtime provider exists: '' and 0 (S_OK). }
function _WinRTShareProvider_GetTitle(Provider: PWinRTShareProvider; out Title: BSTR): HRESULT; stdcall;
  external TavletDll name '_WinRTShareProvider_GetTitle';
function _WinRTShareProvider_GetIconUri(Provider: PWinRTShareProvider; out IconUri: BSTR): HRESULT; stdcall;
  external TavletDll name '_WinRTShareProvider_GetIconUri';
function _WinRTShareProvider_GetBackgroundColor(Provider: PWinRTShareProvider; out Color: Cardinal): HRESULT;
  stdcall; external TavletDll name '_WinRTShareProvider_GetBackgroundColor';
function _WinRTShareProvider_Dealloc(Provider: PWinRTShareProvider): HRESULT; stdcall;
  external TavletDll name '_WinRTShareProvider_Dealloc';
{ A nil operation does nothing and succeeds. }
function _WinRTShareProviderOperation_ReportCompleted(Operation: PWinRTShareProviderOperation): HRESULT; stdcall;
  external TavletDll name '_WinRTShareProviderOperation_ReportCompleted';

{ ---- Sharing from a window ---- }
function WinRTSharingIsAvailable: BOOL; stdcall; external TavletDll name 'WinRTSharingIsAvailable';
{ Shares Data (read only when a target asks for it: keep it alive and
  unchanged until Completed has run) or, when Data is nil or Size 0, the text. }
function WinRTShareDataForWindow(Window: HWND; Title, Description, Text: PWideChar; Data: Pointer; Size: UInt64;
  Context: Pointer; Completed: TShareDataCompletedHandler; Provider: PWinRTShareProvider): HRESULT; stdcall;
  external TavletDll name 'WinRTShareDataForWindow';
{ Shares one file named by a UTF-8 path (see Utf8Path). }
function WinRTShareFileForWindow(Window: HWND; Title, Description: PWideChar; Path: PAnsiChar; Context: Pointer;
  Completed: TShareFileCompletedHandler; Provider: PWinRTShareProvider): HRESULT; stdcall;
  external TavletDll name 'WinRTShareFileForWindow';
procedure WinRTSharingTerminate; stdcall; external TavletDll name 'WinRTSharingTerminate';

{ ---- Helpers ---- }
{ oleaut32's own, for BSTRs the library returned. }
procedure SysFreeString(Value: BSTR); stdcall; external 'oleaut32.dll' name 'SysFreeString';
{ The text of a returned BSTR ('' for nil); frees it and sets Value to nil. }
function TakeBSTR(var Value: BSTR): UnicodeString;
{ A copy of a UTF-8 text handed to a callback ('' for nil). }
function Utf8Text(Value: PAnsiChar): UnicodeString;
{ A path as WinRTShareFileForWindow takes it: PAnsiChar(Utf8Path(Path)). }
function Utf8Path(const Path: UnicodeString): UTF8String;
function Succeeded(Status: HRESULT): Boolean;
function Failed(Status: HRESULT): Boolean;

implementation

uses
  SysUtils;

const
  CP_UTF8 = 65001;

function SysStringLen(Value: BSTR): Cardinal; stdcall; external 'oleaut32.dll' name 'SysStringLen';
function MultiByteToWideChar(CodePage, Flags: Cardinal; Text: PAnsiChar; Bytes: Integer; Wide: PWideChar;
  Chars: Integer): Integer; stdcall; external 'kernel32.dll' name 'MultiByteToWideChar';
function WideCharToMultiByte(CodePage, Flags: Cardinal; Wide: PWideChar; Chars: Integer; Text: PAnsiChar;
  Bytes: Integer; DefaultChar: PAnsiChar; UsedDefaultChar: Pointer): Integer; stdcall;
  external 'kernel32.dll' name 'WideCharToMultiByte';

function TakeBSTR(var Value: BSTR): UnicodeString;
var
  Length: Cardinal;
begin
  Result := '';
  if Value = nil then Exit;
  { A BSTR carries its length; it may hold NULs. }
  Length := SysStringLen(Value);
  SetLength(Result, Length);
  if Length > 0 then Move(Value^, Result[1], Length * SizeOf(WideChar));
  SysFreeString(Value);
  Value := nil;
end;

function Utf8Text(Value: PAnsiChar): UnicodeString;
var
  Chars: Integer;
begin
  Result := '';
  if Value = nil then Exit;
  { -1: up to and with the NUL, which the count then includes. }
  Chars := MultiByteToWideChar(CP_UTF8, 0, Value, -1, nil, 0);
  if Chars <= 1 then Exit;
  SetLength(Result, Chars);
  MultiByteToWideChar(CP_UTF8, 0, Value, -1, PWideChar(Result), Chars);
  SetLength(Result, Chars - 1);
end;

function Utf8Path(const Path: UnicodeString): UTF8String;
var
  Bytes: Integer;
begin
  Result := '';
  if Path = '' then Exit;
  Bytes := WideCharToMultiByte(CP_UTF8, 0, PWideChar(Path), Length(Path), nil, 0, nil, nil);
  SetLength(Result, Bytes);
  if Bytes > 0 then WideCharToMultiByte(CP_UTF8, 0, PWideChar(Path), Length(Path), PAnsiChar(Result), Bytes, nil, nil);
end;

function Succeeded(Status: HRESULT): Boolean;
begin
  Result := Status >= 0;
end;

function Failed(Status: HRESULT): Boolean;
begin
  Result := Status < 0;
end;

{ The records must match tavlet.h byte for byte, or the library reads the
  wrong fields: a host built with a compiler that lays them out otherwise
  stops here rather than at its first call. }
procedure CheckLayout(const Name: string; Actual, Expected: Integer);
begin
  if Actual <> Expected then
    raise Exception.CreateFmt('Tavlet.pas: %s is %d bytes, tavlet.dll expects %d', [Name, Actual, Expected]);
end;

initialization
  CheckLayout('TWinRTSecondaryTileCreateArgs', SizeOf(TWinRTSecondaryTileCreateArgs), 48);
  CheckLayout('TWinRTTileUpdateArgs', SizeOf(TWinRTTileUpdateArgs), 32);
  CheckLayout('TWinRTShareProviderInitArgs', SizeOf(TWinRTShareProviderInitArgs), 48);
  CheckLayout('TWinRTPoint', SizeOf(TWinRTPoint), 8);
  CheckLayout('TWinRTRect', SizeOf(TWinRTRect), 16);
end.

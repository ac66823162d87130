{ The tavlet sample host in Pascal: the flows of sample/host.c, through the
  Tavlet unit, from a message loop, one after the other:

    1. availability answers
    2. the dial: created for a window, turned, pressed, an item of its menu
       invoked (and, under the simulated runtime, turned on the screen)
    3. a secondary tile pinned (the answer comes back on this thread), then a
       tile notification sent to it
    4. a text file shared (its name is not ASCII: the UTF-8 path goes there
       and back), and the target's name reported
    5. an image shared (its bytes read only when the target asks), likewise
    6. the host as a share target of its own: its provider picked, reporting completion

  The user's side comes from the system; under Wine, from the simulated
  runtime's scripted user (scripts/run-host --script default), which reports
  on stderr. This program's own lines go to stdout only, in an order that does
  not depend on thread timing, so they can be compared line by line. It ends
  by itself when every flow has ended (exit code 0), or after 30 seconds (1).
  Written in the Delphi language that Free Pascal (Delphi mode) also accepts. }
program Host;

{$IFDEF FPC}
  {$MODE DELPHI}
{$ENDIF}
{$APPTYPE CONSOLE}

uses
  Windows, Messages, SysUtils, Tavlet;

const
  WM_NEXT_FLOW = WM_APP + 1;    { the current flow has ended: start the next one }
  WM_DIAL_INPUT = WM_APP + 2;   { WParam: one of the DIAL_ bits, posted from a runtime thread }
  WM_PIN_ANSWERED = WM_APP + 3; { WParam: whether the user pinned the tile }
  WM_SHARE_ENDED = WM_APP + 4;  { a share or a provider's pick has ended }
  WM_SCREEN_TURNED = WM_APP + 5; { WParam: the result of the simulated turn on the screen }
  DIAL_ROTATED = 1;
  DIAL_PRESSED = 2;
  DIAL_BRUSH_INVOKED = 4;
  DIAL_ALL = 7;
  TIMER_TIMEOUT = 1;
  TIMER_POLL = 2;
  TIMEOUT_MS = 30000;
  TileId = 'pascal.report';
  COINIT_APARTMENTTHREADED = 2;

  { A 1x1 PNG: the shared image, and the icons the host writes for itself. }
  Png: array[0..66] of Byte = (
    $89, $50, $4E, $47, $0D, $0A, $1A, $0A, $00, $00, $00, $0D, $49, $48, $44, $52, $00,
    $00, $00, $01, $00, $00, $00, $01, $08, $06, $00, $00, $00, $1F, $15, $C4, $89, $00,
    $00, $00, $0A, $49, $44, $41, $54, $78, $9C, $63, $00, $01, $00, $00, $05, $00, $01,
    $0D, $0A, $2D, $B4, $00, $00, $00, $00, $49, $45, $4E, $44, $AE, $42, $60, $82);

  { Contexts handed to the library and back to the callbacks. }
  PinContext: PAnsiChar = 'the pin request';
  NotesContext: PAnsiChar = 'the notes';
  ImageContext: PAnsiChar = 'the image';
  ProviderContext: PAnsiChar = 'the Pascal host''s provider';

type
  TFlowStart = procedure;
  TFlow = record
    Title: string;
    Start: TFlowStart;
  end;

function CoInitializeEx(Reserved: Pointer; CoInit: DWORD): HRESULT; stdcall; external 'ole32.dll';
procedure CoUninitialize; stdcall; external 'ole32.dll';

var
  MainWindow: HWND;  { main window: owns the dial and the shares, runs the flows }
  UIThread: DWORD;
  Flow: Integer;
  Flows: array[0..5] of TFlow;
  DialInput: Cardinal;
  Dial: PWinRTDial;
  Tile: PWinRTSecondaryTile;
  Pin: PWinRTAsyncOperationBOOL;
  Provider: PWinRTShareProvider;
  NotesPath: UnicodeString;
  { What the dial's callbacks saw on the runtime's threads, printed by the UI thread. }
  RotationTenths: Integer;
  RotationPressed: Cardinal;
  RotationPoint: TWinRTPoint;
  RotationBounds: TWinRTRect;
  ScreenTurn: (ScreenTurnNotYet, ScreenTurnRunning, ScreenTurnDone);
  RotationThread, PressThread, BrushThread: DWORD;

{ ---- Output ---- }

procedure Say(const Line: string);
begin
  WriteLn(Line);
  Flush(Output);
end;

function Hex(Value: Cardinal): string;
begin
  Result := '0x' + LowerCase(IntToHex(Int64(Value), 8));
end;

procedure Report(const What: string; Status: HRESULT);
begin
  Say('  ' + What + ': ' + Hex(Cardinal(Status)));
end;

function ThreadName(Thread: DWORD): string;
begin
  if Thread = UIThread then Result := 'the UI thread' else Result := 'a runtime thread';
end;

procedure FlowEnded;
begin
  PostMessageW(MainWindow, WM_NEXT_FLOW, 0, 0);
end;

{ Prints a step's result; a failed step ends its flow (nothing would come back). }
function Step(const What: string; Status: HRESULT): Boolean;
begin
  Report(What, Status);
  Result := Succeeded(Status);
  if Result then Exit;
  Say('  this flow cannot go on: skipped');
  FlowEnded;
end;

function WriteBytes(const Path: UnicodeString; Bytes: Pointer; Size: DWORD): Boolean;
var
  FileHandle: THandle;
  Written: DWORD;
begin
  Written := 0;
  FileHandle := CreateFileW(PWideChar(Path), GENERIC_WRITE, 0, nil, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, 0);
  Result := FileHandle <> INVALID_HANDLE_VALUE;
  if not Result then Exit;
  WriteFile(FileHandle, Bytes^, Size, Written, nil);
  CloseHandle(FileHandle);
  Result := Written = Size;
end;

{ An installed host ships its icons beside the executable; this one writes its
  own there, so it runs from any folder. The share provider's icon URI
  ms-appx:///Assets/share.png names <exe dir>\Assets\share.png when unpackaged. }
function WriteAsset(const Name: UnicodeString): UnicodeString;
var
  Module: array[0..MAX_PATH] of WideChar;
  Folder: UnicodeString;
  Slash: Integer;
begin
  GetModuleFileNameW(0, Module, MAX_PATH);
  Folder := Module;
  Slash := Length(Folder);
  while (Slash > 0) and (Folder[Slash] <> '\') do Dec(Slash);
  Folder := Copy(Folder, 1, Slash) + 'Assets';
  CreateDirectoryW(PWideChar(Folder), nil);
  Result := Folder + '\' + Name;
  if GetFileAttributesW(PWideChar(Result)) = INVALID_FILE_ATTRIBUTES then WriteBytes(Result, @Png, SizeOf(Png));
end;

{ ---- 1. Availability ---- }

{ Answer: a BOOL, made a Boolean on the way in (any value but 0 is true). }
procedure Ask(const Question: string; Answer: Boolean);
const
  Answers: array[Boolean] of string = ('no', 'yes');
begin
  Say('  ' + Question + StringOfChar(' ', 58 - Length(Question)) + ' ' + Answers[Answer]);
end;

procedure ShowAvailability;
begin
  Ask('type Windows.Foundation.Metadata.ApiInformation',
    _WinRTApiInformation_IsEnabledType('Windows.Foundation.Metadata.ApiInformation'));
  Ask('type Windows.UI.Input.RadialController', _WinRTApiInformation_IsEnabledType('Windows.UI.Input.RadialController'));
  Ask('type Contoso.Missing', _WinRTApiInformation_IsEnabledType('Contoso.Missing'));
  Ask('event DataTransferManager.ShareProvidersRequested', _WinRTApiInformation_IsEnabledEvent(
    'Windows.ApplicationModel.DataTransfer.DataTransferManager', 'ShareProvidersRequested'));
  Ask('method DataPackage.SetText',
    _WinRTApiInformation_IsEnabledMethod('Windows.ApplicationModel.DataTransfer.DataPackage', 'SetText'));
  Ask('radial controller', WinRTDialIsAvailable);
  Ask('sharing', WinRTSharingIsAvailable);
  FlowEnded;
end;

{ ---- 2. The dial and its menu ---- }

{ Dial callbacks run synchronously on whichever thread the runtime raises the
  event on (here one of the simulated runtime's own): they only note what they
  saw and post to the window, whose thread prints it. }
procedure OnDialRotation(DeltaDegrees: Single; Point: TWinRTPoint; Bounds: TWinRTRect; IsButtonPressed: Cardinal);
  stdcall;
begin
  RotationTenths := Round(DeltaDegrees * 10);
  RotationPressed := IsButtonPressed;
  RotationPoint := Point;
  RotationBounds := Bounds;
  RotationThread := GetCurrentThreadId;
  PostMessageW(MainWindow, WM_DIAL_INPUT, DIAL_ROTATED, 0);
end;

procedure OnDialButton(Point: TWinRTPoint; Bounds: TWinRTRect); stdcall;
begin
  PressThread := GetCurrentThreadId;
  PostMessageW(MainWindow, WM_DIAL_INPUT, DIAL_PRESSED, 0);
end;

procedure OnInkColour; stdcall;
begin
end;

procedure OnBrush; stdcall;
begin
  BrushThread := GetCurrentThreadId;
  PostMessageW(MainWindow, WM_DIAL_INPUT, DIAL_BRUSH_INVOKED, 0);
end;

procedure StartDial;
var
  Status: HRESULT;
  Id: Cardinal;
begin
  if not Step('WinRTDialIntialize', WinRTDialIntialize) then Exit;
  Status := WinRTDialCreate(MainWindow, Dial);
  if Succeeded(Status) and (Dial = nil) then Status := E_NOINTERFACE;
  if not Step('WinRTDialCreate for the main window', Status) then Exit;
  WinRTDialSetRotationResolution(Dial, 5.0);
  WinRTDialSetRotationChangedHandler(Dial, OnDialRotation);
  WinRTDialSetButtonPressedHandler(Dial, OnDialButton);
  WinRTDialAppendKnownMenuItem(Dial, nil, 'Ink colour', OnInkColour, Id);
  Say(Format('  menu item "Ink colour" added as item %d (built-in icon: in the menu at once)', [Id]));
  WinRTDialAppendIconMenuItem(Dial, PWideChar(WriteAsset('brush.png')), 'Brush', OnBrush, Id);
  Say(Format('  menu item "Brush" queued as item %d with icon Assets\brush.png', [Id]));
  Report('WinRTDialCommitPendingMenuAdditions (the icon loads in the background)',
    WinRTDialCommitPendingMenuAdditions(Dial));
  Say('  waiting for the user: turn the dial, press it, pick "Brush" in its menu');
end;

{ Under the simulated runtime, the host also turns the dial on the screen
  itself, through the runtime's C control API (found in the process, not
  linked), so that the contact's point and bounds are seen to arrive intact:
  the handler takes them by value. On Windows the user's own turns do this. }
type
  TRaiseDialEventAt = function(Event: Integer; Degrees: Double; ButtonPressed: Integer;
    X, Y, Left, Top, Width, Height: Double; Controller: Integer): HRESULT; stdcall;
  TSetDialOnScreen = procedure(OnScreen: Integer); stdcall;
var
  RaiseDialEventAt: TRaiseDialEventAt;
  SetDialOnScreen: TSetDialOnScreen;

{ On a thread of its own: the call waits for the handlers, and the UI thread
  must stay free to take their messages. }
function TurnOnScreenThread(Parameter: Pointer): DWORD; stdcall;
var
  Status: HRESULT;
begin
  { Controller 0: the only one this process made; event 0: a rotation. }
  Status := RaiseDialEventAt(0, -7.5, 1, 12.5, 34, 5, 6, 100, 50, 0);
  PostMessageW(MainWindow, WM_SCREEN_TURNED, WPARAM(Cardinal(Status)), 0);
  Result := 0;
end;

function TurnOnScreen: Boolean;
var
  Simulation: HMODULE;
  Thread: THandle;
  ThreadId: DWORD;
begin
  Result := False;
  Simulation := GetModuleHandleW('tavlet_simrt.dll');
  if Simulation = 0 then Exit;
  @RaiseDialEventAt := GetProcAddress(Simulation, 'TavletSimRaiseDialEventAt');
  @SetDialOnScreen := GetProcAddress(Simulation, 'TavletSimSetDialOnScreen');
  if (@RaiseDialEventAt = nil) or (@SetDialOnScreen = nil) then Exit;
  SetDialOnScreen(1); { the user puts the dial on a Surface Studio's screen }
  Thread := CreateThread(nil, 0, @TurnOnScreenThread, nil, 0, ThreadId);
  Result := Thread <> 0;
  if Result then CloseHandle(Thread);
end;

procedure EndDial;
var
  Count: Cardinal;
begin
  Count := 0;
  WinRTDialGetNumberOfMenuItems(Dial, Count);
  Say(Format('  menu items: %d ("Brush" arrived once its icon had loaded)', [Count]));
  Report('WinRTDialTerminate (the dial is dropped; no more callbacks)', WinRTDialTerminate);
  Dial := nil;
  FlowEnded;
end;

procedure OnDialInput(Input: Cardinal);
const
  Button: array[Boolean] of string = ('up', 'down');
  Sign: array[Boolean] of string = ('', '-');
var
  Contact: string;
begin
  DialInput := DialInput or Input;
  case Input of
    DIAL_ROTATED:
      begin
        Contact := '';
        with RotationBounds do
          if Right > Left then
            Contact := Format(', at (%d, %d) within (%d, %d)-(%d, %d)',
              [RotationPoint.X, RotationPoint.Y, Left, Top, Right, Bottom]);
        Say(Format('  rotation by %s%d.%d degrees, button %s%s (on %s)', [Sign[RotationTenths < 0],
          Abs(RotationTenths) div 10, Abs(RotationTenths) mod 10, Button[RotationPressed <> 0], Contact,
          ThreadName(RotationThread)]));
      end;
    DIAL_PRESSED: Say('  button pressed (on ' + ThreadName(PressThread) + ')');
    DIAL_BRUSH_INVOKED: Say('  menu item "Brush" invoked (on ' + ThreadName(BrushThread) + ')');
  end;
  if (DialInput <> DIAL_ALL) or (Dial = nil) or (ScreenTurn = ScreenTurnRunning) then Exit;
  { Its rotation comes back as one more message, then its result. }
  if (ScreenTurn = ScreenTurnNotYet) and TurnOnScreen then
    ScreenTurn := ScreenTurnRunning
  else
    EndDial;
end;

procedure OnScreenTurned(Status: HRESULT);
begin
  Report('the simulated runtime turned the dial on the screen', Status);
  ScreenTurn := ScreenTurnDone;
  EndDial;
end;

{ ---- 3. A secondary tile and a tile notification ---- }

{ Runs on the thread that registered it (the UI thread), from its message loop. }
procedure OnPinAnswered(Context: Pointer; Answer: BOOL); stdcall;
const
  Answers: array[Boolean] of string = ('not pinned', 'pinned');
var
  Pinned: Boolean;
begin
  Pinned := Answer;
  Say('  ' + string(PAnsiChar(Context)) + ' answered on ' + ThreadName(GetCurrentThreadId) + ': ' + Answers[Pinned]);
  PostMessageW(MainWindow, WM_PIN_ANSWERED, WPARAM(Ord(Pinned)), 0);
end;

procedure SayPinned;
const
  Answers: array[Boolean] of string = ('no', 'yes');
var
  Exists: Cardinal;
begin
  Exists := 0;
  _WinRTSecondaryTile_Exists(TileId, Exists);
  Say('  tile ' + TileId + ' pinned: ' + Answers[Exists <> 0]);
end;

procedure StartTile;
var
  Args: TWinRTSecondaryTileCreateArgs;
  Elements: PWinRTSecondaryTileVisualElements;
  Color: Cardinal;
  Status: Integer;
  Text: BSTR;
  Logo: UnicodeString;
begin
  SayPinned;
  FillChar(Args, SizeOf(Args), 0);
  Args.DisplayName := 'Quarterly report';
  Args.Arguments := '--open report.docx';
  Args.LogoUri := 'ms-appx:///Assets/Square150x150Logo.png';
  Args.OwnerWindow := MainWindow; { owns the system's pin dialog }
  Args.Size := _WinRTTileSize_Medium;
  _WinRTSecondaryTile_Alloc(Tile);
  Report('_WinRTSecondaryTile_InitWithCreateArgs', _WinRTSecondaryTile_InitWithCreateArgs(Tile, TileId, @Args));
  _WinRTSecondaryTile_GetTileID(Tile, Text);
  Say('  tile id read back: ' + string(TakeBSTR(Text)));

  _WinRTSecondaryTile_GetVisualElements(Tile, Elements);
  _WinRTSecondaryTileVisualElements_GetBackgroundColor(Elements, Color);
  _WinRTSecondaryTileVisualElements_GetLogoUriMedium(Elements, Text);
  Logo := TakeBSTR(Text);
  if Logo = '' then Logo := '(none)';
  Say('  visual elements: background ' + Hex(Color) + ', medium logo ' + string(Logo));
  _WinRTSecondaryTileVisualElements_GetLogoUriWide(Elements, Text);
  if Text = nil then Say('  no wide logo: a nil BSTR');
  _WinRTSecondaryTileVisualElements_Dealloc(Elements);

  { The operation stays alive until it completes: releasing it would cancel it. }
  if not Step('_WinRTSecondaryTile_RequestCreateAsync', _WinRTSecondaryTile_RequestCreateAsync(Tile, Pin)) then Exit;
  _WinRTAsyncOperationBOOL_GetStatus(Pin, Status);
  Say(Format('  status %d (0: waiting for the user)', [Status]));
  _WinRTAsyncOperationBOOL_Completed(Pin, OnPinAnswered, PinContext);
  Say('  waiting for the user to answer the pin dialog');
end;

procedure SendTileNotification(Pinned: Boolean);
var
  Updater: PWinRTTileUpdater;
  Update: TWinRTTileUpdateArgs;
begin
  FillChar(Update, SizeOf(Update), 0);
  Update.StructSize := SizeOf(Update);
  Update.Xml := '<tile><visual><binding template="TileMedium"><text>3 new comments</text></binding></visual></tile>';
  Update.Tag := 'comments';
  Update.Expiration := _WinRTTileUpdate_NoExpiration;
  _WinRTTileUpdater_Alloc(Updater);
  if Pinned then
    Report('updater for tile ' + TileId, _WinRTTileUpdater_InitWithSecondaryTile(Updater, TileId, nil))
  else
    Report('updater for the main tile', _WinRTTileUpdater_InitWithPrimaryTile(Updater, nil, nil));
  _WinRTTileUpdater_EnableNotificationQueuing(Updater, 1);
  Report('tile notification sent', _WinRTTileUpdater_Update(Updater, @Update));
  Update.Xml := '<tile><visual>';
  Report('malformed tile XML refused', _WinRTTileUpdater_Update(Updater, @Update));
  _WinRTTileUpdater_Dealloc(Updater);
end;

procedure OnPinEnded(Pinned: Boolean);
begin
  { Freed from the message loop, not from inside its own callback. }
  _WinRTAsyncOperationBOOL_Dealloc(Pin);
  Pin := nil;
  _WinRTSecondaryTile_Dealloc(Tile);
  Tile := nil;
  SayPinned;
  SendTileNotification(Pinned);
  FlowEnded;
end;

{ ---- 4. and 5. Sharing a text file and an image ---- }

{ Share callbacks run on the thread that shared, from its message loop; their
  texts are UTF-8 and valid only during the call. }
procedure OnFileShared(TargetApplicationName: PAnsiChar; Context: Pointer; Path: PAnsiChar); stdcall;
const
  Intact: array[Boolean] of string = ('changed', 'intact');
begin
  Say('  ' + string(PAnsiChar(Context)) + ' shared to "' + string(Utf8Text(TargetApplicationName)) + '" (on ' +
    ThreadName(GetCurrentThreadId) + '); its path came back ' + Intact[Utf8Text(Path) = NotesPath]);
  PostMessageW(MainWindow, WM_SHARE_ENDED, 0, 0);
end;

procedure OnImageShared(TargetApplicationName: PAnsiChar; Context: Pointer; Data: Pointer); stdcall;
const
  Bytes: array[Boolean] of string = ('data', 'bytes');
begin
  Say('  ' + string(PAnsiChar(Context)) + ' shared to "' + string(Utf8Text(TargetApplicationName)) + '" (on ' +
    ThreadName(GetCurrentThreadId) + '); the library will not read its ' + Bytes[Data = @Png] + ' again');
  PostMessageW(MainWindow, WM_SHARE_ENDED, 0, 0);
end;

procedure StartFileShare;
const
  Notes: AnsiString = 'Agenda: the dial, the tiles, the share UI.'#13#10;
var
  Temp: array[0..MAX_PATH] of WideChar;
begin
  GetTempPathW(MAX_PATH, Temp);
  { "tavlet-pascal-notes-é.txt": a name that is not ASCII, as UTF-8 on the way in and out. }
  NotesPath := UnicodeString(Temp) + 'tavlet-pascal-notes-' + WideChar($E9) + '.txt';
  WriteBytes(NotesPath, PAnsiChar(Notes), Length(Notes));
  if not Step('WinRTShareFileForWindow (the share UI opens once the file is found)', WinRTShareFileForWindow(
    MainWindow, 'Meeting notes', 'A text file', PAnsiChar(Utf8Path(NotesPath)), NotesContext, OnFileShared, nil)) then
    Exit;
  Say('  waiting for the user to choose a target');
end;

procedure StartImageShare;
begin
  { The bytes must stay alive and unchanged until the callback. }
  if not Step('WinRTShareDataForWindow (the bytes are read only when a target asks)', WinRTShareDataForWindow(
    MainWindow, 'Sample image', 'A 1x1 PNG', nil, @Png, SizeOf(Png), ImageContext, OnImageShared, nil)) then
    Exit;
  Say('  waiting for the user to choose a target');
end;

{ ---- 6. The host as a share target of its own ---- }

{ Runs in the COM context of the thread that allocated the provider (the UI
  thread). The operation is lent only for this call. }
procedure OnProviderPicked(Context: Pointer; Operation: PWinRTShareProviderOperation); stdcall;
begin
  Say('  ' + string(PAnsiChar(Context)) + ' picked as the share target (on ' + ThreadName(GetCurrentThreadId) + ')');
  Report('_WinRTShareProviderOperation_ReportCompleted', _WinRTShareProviderOperation_ReportCompleted(Operation));
  PostMessageW(MainWindow, WM_SHARE_ENDED, 0, 0);
end;

procedure StartProvider;
var
  Args: TWinRTShareProviderInitArgs;
begin
  FillChar(Args, SizeOf(Args), 0);
  Args.StructSize := SizeOf(Args);
  Args.Title := 'tavlet pascal';
  Args.IconUri := 'ms-appx:///Assets/share.png';
  Args.BackgroundColor := $FF2B579A;
  Args.Callback := OnProviderPicked;
  Args.Context := ProviderContext;
  if not WinRTSharingIsAvailable then
  begin
    Step('WinRTSharingIsAvailable', E_NOINTERFACE);
    Exit;
  end;
  _WinRTShareProvider_Alloc(Provider);
  if not Step('_WinRTShareProvider_InitWithArgs (its icon is looked up in the background)',
    _WinRTShareProvider_InitWithArgs(Provider, @Args)) then
    Exit;
  SetTimer(MainWindow, TIMER_POLL, 50, nil);
end;

{ The provider is ready once its title reads back. }
procedure PollProvider;
var
  Text: BSTR;
  Title, Icon: UnicodeString;
  Color: Cardinal;
begin
  _WinRTShareProvider_GetTitle(Provider, Text);
  Title := TakeBSTR(Text);
  if Title = '' then Exit;
  KillTimer(MainWindow, TIMER_POLL);
  _WinRTShareProvider_GetIconUri(Provider, Text);
  Icon := TakeBSTR(Text);
  _WinRTShareProvider_GetBackgroundColor(Provider, Color);
  Say('  provider ready: "' + string(Title) + '", icon ' + string(Icon) + ', colour ' + Hex(Color));
  { A text share calls nothing back; the provider's pick ends this flow. }
  if Step('WinRTShareDataForWindow with a text and the provider', WinRTShareDataForWindow(MainWindow, 'Quote', nil,
    'Simple things should be simple.', nil, 0, nil, nil, Provider)) then
    Say('  waiting for the user to pick "tavlet pascal" in the share UI');
end;

{ ---- The flows, one after the other ---- }

procedure AddFlow(Index: Integer; const Title: string; Start: TFlowStart);
begin
  Flows[Index].Title := Title;
  Flows[Index].Start := Start;
end;

procedure NextFlow;
begin
  Inc(Flow);
  if Flow > High(Flows) then
  begin
    Say('');
    Say('Every flow has ended.');
    PostQuitMessage(0);
    Exit;
  end;
  Say('');
  Say(Format('%d. %s', [Flow + 1, Flows[Flow].Title]));
  Flows[Flow].Start;
end;

function WindowProc(Window: HWND; Message: UINT; AWParam: WPARAM; ALParam: LPARAM): LRESULT; stdcall;
begin
  Result := 0;
  case Message of
    WM_NEXT_FLOW: NextFlow;
    WM_DIAL_INPUT: OnDialInput(Cardinal(AWParam));
    WM_SCREEN_TURNED: OnScreenTurned(HRESULT(Cardinal(AWParam)));
    WM_PIN_ANSWERED: OnPinEnded(AWParam <> 0);
    WM_SHARE_ENDED:
      begin
        if NotesPath <> '' then DeleteFileW(PWideChar(NotesPath));
        NotesPath := '';
        FlowEnded;
      end;
    WM_TIMER:
      begin
        if (AWParam = TIMER_POLL) and (Provider <> nil) then PollProvider;
        if AWParam = TIMER_TIMEOUT then
        begin
          Say('');
          Say(Format('Timed out: "%s" did not end within %d seconds.', [Flows[Flow].Title, TIMEOUT_MS div 1000]));
          PostQuitMessage(1);
        end;
      end;
  else
    Result := DefWindowProcW(Window, Message, AWParam, ALParam);
  end;
end;

var
  WindowClass: TWndClassW;
  Msg: TMsg;
begin
  { The runtime calls the dial's handlers on threads of its own. }
  IsMultiThread := True;
  AddFlow(0, 'Availability', ShowAvailability);
  AddFlow(1, 'The dial and its menu', StartDial);
  AddFlow(2, 'A secondary tile and a tile notification', StartTile);
  AddFlow(3, 'Sharing a text file', StartFileShare);
  AddFlow(4, 'Sharing an image', StartImageShare);
  AddFlow(5, 'The host as a share target of its own', StartProvider);

  { The host initialises its UI thread as a single-threaded apartment. }
  CoInitializeEx(nil, COINIT_APARTMENTTHREADED);
  UIThread := GetCurrentThreadId;
  Flow := -1;
  FillChar(WindowClass, SizeOf(WindowClass), 0);
  WindowClass.lpfnWndProc := @WindowProc;
  WindowClass.hInstance := GetModuleHandleW(nil);
  WindowClass.lpszClassName := 'TavletPascalHost';
  RegisterClassW(WindowClass);
  MainWindow := CreateWindowExW(0, 'TavletPascalHost', 'tavlet Pascal host', WS_OVERLAPPEDWINDOW, 0, 0, 320, 240, 0,
    0, WindowClass.hInstance, nil);
  ShowWindow(MainWindow, SW_SHOWNORMAL); { the user brings it to the front to use the dial }
  Say('tavlet Pascal host: each flow from start to end');
  WriteAsset('share.png'); { the share provider's icon, looked up in flow 6 }
  SetTimer(MainWindow, TIMER_TIMEOUT, TIMEOUT_MS, nil);
  FlowEnded;
  Msg.wParam := 1;
  while Integer(GetMessageW(Msg, 0, 0, 0)) > 0 do
  begin
    TranslateMessage(Msg);
    DispatchMessageW(Msg);
  end;

  { Everything is freed, whichever way the loop ended. }
  WinRTDialTerminate;
  WinRTSharingTerminate; { no share callback after this }
  _WinRTShareProvider_Dealloc(Provider);
  _WinRTAsyncOperationBOOL_Dealloc(Pin);
  _WinRTSecondaryTile_Dealloc(Tile);
  if NotesPath <> '' then DeleteFileW(PWideChar(NotesPath));
  DestroyWindow(MainWindow);
  CoUninitialize;
  ExitCode := Integer(Msg.wParam);
end.

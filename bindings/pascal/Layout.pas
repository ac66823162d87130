{ Prints, under tavlet.h's names, the size of every record of the Tavlet unit
  and the offset of each of its fields, and the size of the scalar types its
  functions take; layout.c prints the same figures from the C header, and the
  two must be equal. }
program Layout;

{$IFDEF FPC}
  {$MODE DELPHI}
{$ENDIF}
{$APPTYPE CONSOLE}

uses
  Tavlet;

procedure Size(const Name: string; Bytes: Integer);
begin
  WriteLn(Name, ' ', Bytes);
end;

procedure Field(const Name: string; Base, Address: Pointer);
begin
  WriteLn(Name, ' ', NativeUInt(Address) - NativeUInt(Base));
end;

var
  Point: TWinRTPoint;
  Rect: TWinRTRect;
  Tile: TWinRTSecondaryTileCreateArgs;
  Update: TWinRTTileUpdateArgs;
  Provider: TWinRTShareProviderInitArgs;
begin
  Size('_WinRTTileSize', SizeOf(_WinRTTileSize));
  Size('BOOL', SizeOf(BOOL));
  Size('HRESULT', SizeOf(HRESULT));
  Size('HWND', SizeOf(HWND));
  Size('BSTR', SizeOf(BSTR));
  Size('POINT', SizeOf(Point));
  Field('POINT.x', @Point, @Point.X);
  Field('POINT.y', @Point, @Point.Y);
  Size('RECT', SizeOf(Rect));
  Field('RECT.left', @Rect, @Rect.Left);
  Field('RECT.top', @Rect, @Rect.Top);
  Field('RECT.right', @Rect, @Rect.Right);
  Field('RECT.bottom', @Rect, @Rect.Bottom);
  Size('_WinRTSecondaryTileCreateArgs', SizeOf(Tile));
  Field('_WinRTSecondaryTileCreateArgs.reserved', @Tile, @Tile.Reserved);
  Field('_WinRTSecondaryTileCreateArgs.displayName', @Tile, @Tile.DisplayName);
  Field('_WinRTSecondaryTileCreateArgs.arguments', @Tile, @Tile.Arguments);
  Field('_WinRTSecondaryTileCreateArgs.logoUri', @Tile, @Tile.LogoUri);
  Field('_WinRTSecondaryTileCreateArgs.ownerWindow', @Tile, @Tile.OwnerWindow);
  Field('_WinRTSecondaryTileCreateArgs.size', @Tile, @Tile.Size);
  Size('_WinRTTileUpdateArgs', SizeOf(Update));
  Field('_WinRTTileUpdateArgs.structSize', @Update, @Update.StructSize);
  Field('_WinRTTileUpdateArgs.xml', @Update, @Update.Xml);
  Field('_WinRTTileUpdateArgs.tag', @Update, @Update.Tag);
  Field('_WinRTTileUpdateArgs.expiration', @Update, @Update.Expiration);
  Size('_WinRTShareProviderInitArgs', SizeOf(Provider));
  Field('_WinRTShareProviderInitArgs.structSize', @Provider, @Provider.StructSize);
  Field('_WinRTShareProviderInitArgs.title', @Provider, @Provider.Title);
  Field('_WinRTShareProviderInitArgs.iconUri', @Provider, @Provider.IconUri);
  Field('_WinRTShareProviderInitArgs.backgroundColor', @Provider, @Provider.BackgroundColor);
  Field('_WinRTShareProviderInitArgs.callback', @Provider, @@Provider.Callback); { @@: the field's address, not its value }
  Field('_WinRTShareProviderInitArgs.context', @Provider, @Provider.Context);
end.

/* Prints the size of every record of tavlet.h and the offset of each of its
 * fields, and the size of the scalar types its functions take; Layout.pas
 * prints the same figures from the Pascal unit, and the two must be equal. */
#include <stddef.h>
#include <stdio.h>
#include <tavlet.h>

#define SIZE(type) printf("%s %u\n", #type, (unsigned)sizeof(type))
#define FIELD(type, field) printf("%s.%s %u\n", #type, #field, (unsigned)offsetof(type, field))

int main(void) {
    SIZE(_WinRTTileSize);
    SIZE(BOOL);
    SIZE(HRESULT);
    SIZE(HWND);
    SIZE(BSTR);
    SIZE(POINT);
    FIELD(POINT, x);
    FIELD(POINT, y);
    SIZE(RECT);
    FIELD(RECT, left);
    FIELD(RECT, top);
    FIELD(RECT, right);
    FIELD(RECT, bottom);
    SIZE(_WinRTSecondaryTileCreateArgs);
    FIELD(_WinRTSecondaryTileCreateArgs, reserved);
    FIELD(_WinRTSecondaryTileCreateArgs, displayName);
    FIELD(_WinRTSecondaryTileCreateArgs, arguments);
    FIELD(_WinRTSecondaryTileCreateArgs, logoUri);
    FIELD(_WinRTSecondaryTileCreateArgs, ownerWindow);
    FIELD(_WinRTSecondaryTileCreateArgs, size);
    SIZE(_WinRTTileUpdateArgs);
    FIELD(_WinRTTileUpdateArgs, structSize);
    FIELD(_WinRTTileUpdateArgs, xml);
    FIELD(_WinRTTileUpdateArgs, tag);
    FIELD(_WinRTTileUpdateArgs, expiration);
    SIZE(_WinRTShareProviderInitArgs);
    FIELD(_WinRTShareProviderInitArgs, structSize);
    FIELD(_WinRTShareProviderInitArgs, title);
    FIELD(_WinRTShareProviderInitArgs, iconUri);
    FIELD(_WinRTShareProviderInitArgs, backgroundColor);
    FIELD(_WinRTShareProviderInitArgs, callback);
    FIELD(_WinRTShareProviderInitArgs, context);
    return 0;
}

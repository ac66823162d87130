// Windows.Foundation
#pragma once

#include "Instances.h"

namespace abi::Windows::Foundation {

TAVLET_RUNTIME_CLASS(Deferral, L"Windows.Foundation.Deferral");
TAVLET_RUNTIME_CLASS(PropertyValue, L"Windows.Foundation.PropertyValue");
TAVLET_RUNTIME_CLASS(Uri, L"Windows.Foundation.Uri");
TAVLET_RUNTIME_CLASS(WwwFormUrlDecoder, L"Windows.Foundation.WwwFormUrlDecoder");

struct IStringable : IInspectable {
    TAVLET_IID(IStringable, "96369f54-8eb6-48f0-abce-c1b211e627c3");
    virtual HRESULT STDMETHODCALLTYPE ToString(HSTRING* value) = 0;  // 6
};

struct IClosable : IInspectable {
    TAVLET_IID(IClosable, "30d5a829-7fa4-4026-83bb-d75bae4ea99e");
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;  // 6
};

struct IUriRuntimeClass : IInspectable {
    TAVLET_IID(IUriRuntimeClass, "9e365e57-48b2-4160-956f-c7385120bbfc");
    virtual HRESULT STDMETHODCALLTYPE get_AbsoluteUri(HSTRING* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_DisplayUri(HSTRING* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_Domain(HSTRING* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE get_Extension(HSTRING* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE get_Fragment(HSTRING* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE get_Host(HSTRING* value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE get_Password(HSTRING* value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE get_Path(HSTRING* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE get_Query(HSTRING* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE get_QueryParsed(IInspectable** ppWwwFormUrlDecoder) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE get_RawUri(HSTRING* value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE get_SchemeName(HSTRING* value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE get_UserName(HSTRING* value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE get_Port(INT32* value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE get_Suspicious(boolean* value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE Equals(::abi::Windows::Foundation::IUriRuntimeClass* pUri, boolean* value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE CombineUri(HSTRING relativeUri, ::abi::Windows::Foundation::IUriRuntimeClass** instance) = 0;  // 22
};

struct IUriRuntimeClassFactory : IInspectable {
    TAVLET_IID(IUriRuntimeClassFactory, "44a9796f-723e-4fdf-a218-033e75b0c084");
    virtual HRESULT STDMETHODCALLTYPE CreateUri(HSTRING uri, ::abi::Windows::Foundation::IUriRuntimeClass** instance) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateWithRelativeUri(HSTRING baseUri, HSTRING relativeUri, ::abi::Windows::Foundation::IUriRuntimeClass** instance) = 0;  // 7
};

struct IPropertyValueStatics : IInspectable {
    TAVLET_IID(IPropertyValueStatics, "629bdbc8-d932-4ff4-96b9-8d96c5c1e858");
    virtual HRESULT STDMETHODCALLTYPE CreateEmpty(IInspectable** propertyValue) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE CreateUInt8(BYTE value, IInspectable** propertyValue) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE CreateInt16(INT16 value, IInspectable** propertyValue) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE CreateUInt16(UINT16 value, IInspectable** propertyValue) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE CreateInt32(INT32 value, IInspectable** propertyValue) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE CreateUInt32(UINT32 value, IInspectable** propertyValue) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE CreateInt64(INT64 value, IInspectable** propertyValue) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE CreateUInt64(UINT64 value, IInspectable** propertyValue) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE CreateSingle(FLOAT value, IInspectable** propertyValue) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE CreateDouble(DOUBLE value, IInspectable** propertyValue) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE CreateChar16(WCHAR value, IInspectable** propertyValue) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE CreateBoolean(boolean value, IInspectable** propertyValue) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE CreateString(HSTRING value, IInspectable** propertyValue) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE CreateInspectable(IInspectable* value, IInspectable** propertyValue) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE CreateGuid(GUID value, IInspectable** propertyValue) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE CreateDateTime(::abi::Windows::Foundation::DateTime value, IInspectable** propertyValue) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE CreateTimeSpan(::abi::Windows::Foundation::TimeSpan value, IInspectable** propertyValue) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE CreatePoint(::abi::Windows::Foundation::Point value, IInspectable** propertyValue) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE CreateSize(::abi::Windows::Foundation::Size value, IInspectable** propertyValue) = 0;  // 24
    virtual HRESULT STDMETHODCALLTYPE CreateRect(::abi::Windows::Foundation::Rect value, IInspectable** propertyValue) = 0;  // 25
    virtual HRESULT STDMETHODCALLTYPE CreateUInt8Array(UINT32 __valueSize, BYTE* value, IInspectable** propertyValue) = 0;  // 26
    virtual HRESULT STDMETHODCALLTYPE CreateInt16Array(UINT32 __valueSize, INT16* value, IInspectable** propertyValue) = 0;  // 27
    virtual HRESULT STDMETHODCALLTYPE CreateUInt16Array(UINT32 __valueSize, UINT16* value, IInspectable** propertyValue) = 0;  // 28
    virtual HRESULT STDMETHODCALLTYPE CreateInt32Array(UINT32 __valueSize, INT32* value, IInspectable** propertyValue) = 0;  // 29
    virtual HRESULT STDMETHODCALLTYPE CreateUInt32Array(UINT32 __valueSize, UINT32* value, IInspectable** propertyValue) = 0;  // 30
    virtual HRESULT STDMETHODCALLTYPE CreateInt64Array(UINT32 __valueSize, INT64* value, IInspectable** propertyValue) = 0;  // 31
    virtual HRESULT STDMETHODCALLTYPE CreateUInt64Array(UINT32 __valueSize, UINT64* value, IInspectable** propertyValue) = 0;  // 32
    virtual HRESULT STDMETHODCALLTYPE CreateSingleArray(UINT32 __valueSize, FLOAT* value, IInspectable** propertyValue) = 0;  // 33
    virtual HRESULT STDMETHODCALLTYPE CreateDoubleArray(UINT32 __valueSize, DOUBLE* value, IInspectable** propertyValue) = 0;  // 34
    virtual HRESULT STDMETHODCALLTYPE CreateChar16Array(UINT32 __valueSize, WCHAR* value, IInspectable** propertyValue) = 0;  // 35
    virtual HRESULT STDMETHODCALLTYPE CreateBooleanArray(UINT32 __valueSize, boolean* value, IInspectable** propertyValue) = 0;  // 36
    virtual HRESULT STDMETHODCALLTYPE CreateStringArray(UINT32 __valueSize, HSTRING* value, IInspectable** propertyValue) = 0;  // 37
    virtual HRESULT STDMETHODCALLTYPE CreateInspectableArray(UINT32 __valueSize, IInspectable** value, IInspectable** propertyValue) = 0;  // 38
    virtual HRESULT STDMETHODCALLTYPE CreateGuidArray(UINT32 __valueSize, GUID* value, IInspectable** propertyValue) = 0;  // 39
    virtual HRESULT STDMETHODCALLTYPE CreateDateTimeArray(UINT32 __valueSize, ::abi::Windows::Foundation::DateTime* value, IInspectable** propertyValue) = 0;  // 40
    virtual HRESULT STDMETHODCALLTYPE CreateTimeSpanArray(UINT32 __valueSize, ::abi::Windows::Foundation::TimeSpan* value, IInspectable** propertyValue) = 0;  // 41
    virtual HRESULT STDMETHODCALLTYPE CreatePointArray(UINT32 __valueSize, ::abi::Windows::Foundation::Point* value, IInspectable** propertyValue) = 0;  // 42
    virtual HRESULT STDMETHODCALLTYPE CreateSizeArray(UINT32 __valueSize, ::abi::Windows::Foundation::Size* value, IInspectable** propertyValue) = 0;  // 43
    virtual HRESULT STDMETHODCALLTYPE CreateRectArray(UINT32 __valueSize, ::abi::Windows::Foundation::Rect* value, IInspectable** propertyValue) = 0;  // 44
};

struct IPropertyValue : IInspectable {
    TAVLET_IID(IPropertyValue, "4bd682dd-7554-40e9-9a9b-82654ede7e62");
    virtual HRESULT STDMETHODCALLTYPE get_Type(INT32* value) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_IsNumericScalar(boolean* value) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetUInt8(BYTE* value) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE GetInt16(INT16* value) = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE GetUInt16(UINT16* value) = 0;  // 10
    virtual HRESULT STDMETHODCALLTYPE GetInt32(INT32* value) = 0;  // 11
    virtual HRESULT STDMETHODCALLTYPE GetUInt32(UINT32* value) = 0;  // 12
    virtual HRESULT STDMETHODCALLTYPE GetInt64(INT64* value) = 0;  // 13
    virtual HRESULT STDMETHODCALLTYPE GetUInt64(UINT64* value) = 0;  // 14
    virtual HRESULT STDMETHODCALLTYPE GetSingle(FLOAT* value) = 0;  // 15
    virtual HRESULT STDMETHODCALLTYPE GetDouble(DOUBLE* value) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE GetChar16(WCHAR* value) = 0;  // 17
    virtual HRESULT STDMETHODCALLTYPE GetBoolean(boolean* value) = 0;  // 18
    virtual HRESULT STDMETHODCALLTYPE GetString(HSTRING* value) = 0;  // 19
    virtual HRESULT STDMETHODCALLTYPE GetGuid(GUID* value) = 0;  // 20
    virtual HRESULT STDMETHODCALLTYPE GetDateTime(::abi::Windows::Foundation::DateTime* value) = 0;  // 21
    virtual HRESULT STDMETHODCALLTYPE GetTimeSpan(::abi::Windows::Foundation::TimeSpan* value) = 0;  // 22
    virtual HRESULT STDMETHODCALLTYPE GetPoint(::abi::Windows::Foundation::Point* value) = 0;  // 23
    virtual HRESULT STDMETHODCALLTYPE GetSize(::abi::Windows::Foundation::Size* value) = 0;  // 24
    virtual HRESULT STDMETHODCALLTYPE GetRect(::abi::Windows::Foundation::Rect* value) = 0;  // 25
    virtual HRESULT STDMETHODCALLTYPE GetUInt8Array(UINT32* __valueSize, BYTE** value) = 0;  // 26
    virtual HRESULT STDMETHODCALLTYPE GetInt16Array(UINT32* __valueSize, INT16** value) = 0;  // 27
    virtual HRESULT STDMETHODCALLTYPE GetUInt16Array(UINT32* __valueSize, UINT16** value) = 0;  // 28
    virtual HRESULT STDMETHODCALLTYPE GetInt32Array(UINT32* __valueSize, INT32** value) = 0;  // 29
    virtual HRESULT STDMETHODCALLTYPE GetUInt32Array(UINT32* __valueSize, UINT32** value) = 0;  // 30
    virtual HRESULT STDMETHODCALLTYPE GetInt64Array(UINT32* __valueSize, INT64** value) = 0;  // 31
    virtual HRESULT STDMETHODCALLTYPE GetUInt64Array(UINT32* __valueSize, UINT64** value) = 0;  // 32
    virtual HRESULT STDMETHODCALLTYPE GetSingleArray(UINT32* __valueSize, FLOAT** value) = 0;  // 33
    virtual HRESULT STDMETHODCALLTYPE GetDoubleArray(UINT32* __valueSize, DOUBLE** value) = 0;  // 34
    virtual HRESULT STDMETHODCALLTYPE GetChar16Array(UINT32* __valueSize, WCHAR** value) = 0;  // 35
    virtual HRESULT STDMETHODCALLTYPE GetBooleanArray(UINT32* __valueSize, boolean** value) = 0;  // 36
    virtual HRESULT STDMETHODCALLTYPE GetStringArray(UINT32* __valueSize, HSTRING** value) = 0;  // 37
    virtual HRESULT STDMETHODCALLTYPE GetInspectableArray(UINT32* __valueSize, IInspectable*** value) = 0;  // 38
    virtual HRESULT STDMETHODCALLTYPE GetGuidArray(UINT32* __valueSize, GUID** value) = 0;  // 39
    virtual HRESULT STDMETHODCALLTYPE GetDateTimeArray(UINT32* __valueSize, ::abi::Windows::Foundation::DateTime** value) = 0;  // 40
    virtual HRESULT STDMETHODCALLTYPE GetTimeSpanArray(UINT32* __valueSize, ::abi::Windows::Foundation::TimeSpan** value) = 0;  // 41
    virtual HRESULT STDMETHODCALLTYPE GetPointArray(UINT32* __valueSize, ::abi::Windows::Foundation::Point** value) = 0;  // 42
    virtual HRESULT STDMETHODCALLTYPE GetSizeArray(UINT32* __valueSize, ::abi::Windows::Foundation::Size** value) = 0;  // 43
    virtual HRESULT STDMETHODCALLTYPE GetRectArray(UINT32* __valueSize, ::abi::Windows::Foundation::Rect** value) = 0;  // 44
};

struct IAsyncInfo : IInspectable {
    TAVLET_IID(IAsyncInfo, "00000036-0000-0000-c000-000000000046");
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Status(INT32* status) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) = 0;  // 8
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;  // 9
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;  // 10
};

struct IAsyncAction : IInspectable {
    TAVLET_IID(IAsyncAction, "5a648006-843a-4da9-865b-9d26e5dfad7b");
    virtual HRESULT STDMETHODCALLTYPE put_Completed(::abi::Windows::Foundation::AsyncActionCompletedHandler* handler) = 0;  // 6
    virtual HRESULT STDMETHODCALLTYPE get_Completed(::abi::Windows::Foundation::AsyncActionCompletedHandler** handler) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetResults() = 0;  // 8
};

struct AsyncActionCompletedHandler : IUnknown {
    TAVLET_IID(AsyncActionCompletedHandler, "a4ed5c81-76c9-40bd-8be6-b1d90fb20ae7");
    virtual HRESULT STDMETHODCALLTYPE Invoke(::abi::Windows::Foundation::IAsyncAction* asyncInfo, INT32 asyncStatus) = 0;  // 3
};

}  // namespace abi::Windows::Foundation

// A boxed value: IPropertyValue for its type, plus IReference<T> where the
// runtime asks for the reference (an expiry time is passed as IReference<DateTime>).
#pragma once

#include "SimObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

namespace sim {

template <typename T, typename... References>
class BoxedValue : public SimObject<BoxedValue<T, References...>, abi::Windows::Foundation::IPropertyValue, References...> {
public:
    BoxedValue(T value, INT32 type) : value_(value), type_(type) {}
    const T& value() const { return value_; }

    HRESULT STDMETHODCALLTYPE get_Value(T* value) noexcept {
        *value = value_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Type(INT32* value) noexcept override {
        *value = type_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsNumericScalar(abi::boolean* value) noexcept override {
        *value = std::is_arithmetic_v<T>;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetUInt32(UINT32* value) noexcept override { return Get(value); }
    HRESULT STDMETHODCALLTYPE GetDateTime(abi::Windows::Foundation::DateTime* value) noexcept override {
        return Get(value);
    }

#define SIM_NOT_BOXED(...) \
    HRESULT STDMETHODCALLTYPE __VA_ARGS__ noexcept override { return TYPE_E_TYPEMISMATCH; }
    SIM_NOT_BOXED(GetUInt8(BYTE*))
    SIM_NOT_BOXED(GetInt16(INT16*))
    SIM_NOT_BOXED(GetUInt16(UINT16*))
    SIM_NOT_BOXED(GetInt32(INT32*))
    SIM_NOT_BOXED(GetInt64(INT64*))
    SIM_NOT_BOXED(GetUInt64(UINT64*))
    SIM_NOT_BOXED(GetSingle(FLOAT*))
    SIM_NOT_BOXED(GetDouble(DOUBLE*))
    SIM_NOT_BOXED(GetChar16(WCHAR*))
    SIM_NOT_BOXED(GetBoolean(abi::boolean*))
    SIM_NOT_BOXED(GetString(HSTRING*))
    SIM_NOT_BOXED(GetGuid(GUID*))
    SIM_NOT_BOXED(GetTimeSpan(abi::Windows::Foundation::TimeSpan*))
    SIM_NOT_BOXED(GetPoint(abi::Windows::Foundation::Point*))
    SIM_NOT_BOXED(GetSize(abi::Windows::Foundation::Size*))
    SIM_NOT_BOXED(GetRect(abi::Windows::Foundation::Rect*))
    SIM_NOT_BOXED(GetUInt8Array(UINT32*, BYTE**))
    SIM_NOT_BOXED(GetInt16Array(UINT32*, INT16**))
    SIM_NOT_BOXED(GetUInt16Array(UINT32*, UINT16**))
    SIM_NOT_BOXED(GetInt32Array(UINT32*, INT32**))
    SIM_NOT_BOXED(GetUInt32Array(UINT32*, UINT32**))
    SIM_NOT_BOXED(GetInt64Array(UINT32*, INT64**))
    SIM_NOT_BOXED(GetUInt64Array(UINT32*, UINT64**))
    SIM_NOT_BOXED(GetSingleArray(UINT32*, FLOAT**))
    SIM_NOT_BOXED(GetDoubleArray(UINT32*, DOUBLE**))
    SIM_NOT_BOXED(GetChar16Array(UINT32*, WCHAR**))
    SIM_NOT_BOXED(GetBooleanArray(UINT32*, abi::boolean**))
    SIM_NOT_BOXED(GetStringArray(UINT32*, HSTRING**))
    SIM_NOT_BOXED(GetInspectableArray(UINT32*, IInspectable***))
    SIM_NOT_BOXED(GetGuidArray(UINT32*, GUID**))
    SIM_NOT_BOXED(GetDateTimeArray(UINT32*, abi::Windows::Foundation::DateTime**))
    SIM_NOT_BOXED(GetTimeSpanArray(UINT32*, abi::Windows::Foundation::TimeSpan**))
    SIM_NOT_BOXED(GetPointArray(UINT32*, abi::Windows::Foundation::Point**))
    SIM_NOT_BOXED(GetSizeArray(UINT32*, abi::Windows::Foundation::Size**))
    SIM_NOT_BOXED(GetRectArray(UINT32*, abi::Windows::Foundation::Rect**))
#undef SIM_NOT_BOXED

private:
    template <typename U>
    HRESULT Get(U* out) {
        if constexpr (std::is_same_v<U, T>) {
            *out = value_;
            return S_OK;
        } else {
            return TYPE_E_TYPEMISMATCH;
        }
    }

    T value_;
    INT32 type_;
};

}  // namespace sim

// Windows.Foundation.PropertyValue: boxes for the values the library hands to
// the runtime (a menu item's UInt32 tag, a notification's expiry DateTime).
#include "PropertyValue.h"

namespace sim {
namespace {

using namespace abi::Windows::Foundation;
using abi::boolean;

class PropertyValueStatics : public SimFactory<PropertyValueStatics, IPropertyValueStatics> {
public:
    using SimFactory::SimFactory;

    HRESULT STDMETHODCALLTYPE CreateUInt32(UINT32 value, IInspectable** result) noexcept override {
        SIM_FAULT("IPropertyValueStatics.CreateUInt32");
        return Box(MakeObject<BoxedValue<UINT32>>(value, INT32(PropertyType::UInt32)), result);
    }
    HRESULT STDMETHODCALLTYPE CreateDateTime(DateTime value, IInspectable** result) noexcept override {
        SIM_FAULT("IPropertyValueStatics.CreateDateTime");
        return Box(MakeObject<BoxedValue<DateTime, IReference<DateTime>>>(value, INT32(PropertyType::DateTime)), result);
    }

    SIM_UNUSED("IPropertyValueStatics.CreateEmpty", CreateEmpty(IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt8", CreateUInt8(BYTE, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt16", CreateInt16(INT16, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt16", CreateUInt16(UINT16, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt32", CreateInt32(INT32, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt64", CreateInt64(INT64, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt64", CreateUInt64(UINT64, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateSingle", CreateSingle(FLOAT, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateDouble", CreateDouble(DOUBLE, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateChar16", CreateChar16(WCHAR, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateBoolean", CreateBoolean(boolean, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateString", CreateString(HSTRING, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInspectable", CreateInspectable(IInspectable*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateGuid", CreateGuid(GUID, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateTimeSpan", CreateTimeSpan(TimeSpan, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreatePoint", CreatePoint(Point, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateSize", CreateSize(Size, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateRect", CreateRect(Rect, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt8Array", CreateUInt8Array(UINT32, BYTE*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt16Array", CreateInt16Array(UINT32, INT16*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt16Array", CreateUInt16Array(UINT32, UINT16*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt32Array", CreateInt32Array(UINT32, INT32*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt32Array", CreateUInt32Array(UINT32, UINT32*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInt64Array", CreateInt64Array(UINT32, INT64*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateUInt64Array", CreateUInt64Array(UINT32, UINT64*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateSingleArray", CreateSingleArray(UINT32, FLOAT*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateDoubleArray", CreateDoubleArray(UINT32, DOUBLE*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateChar16Array", CreateChar16Array(UINT32, WCHAR*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateBooleanArray", CreateBooleanArray(UINT32, boolean*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateStringArray", CreateStringArray(UINT32, HSTRING*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateInspectableArray", CreateInspectableArray(UINT32, IInspectable**, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateGuidArray", CreateGuidArray(UINT32, GUID*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateDateTimeArray", CreateDateTimeArray(UINT32, DateTime*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateTimeSpanArray", CreateTimeSpanArray(UINT32, TimeSpan*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreatePointArray", CreatePointArray(UINT32, Point*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateSizeArray", CreateSizeArray(UINT32, Size*, IInspectable**))
    SIM_UNUSED("IPropertyValueStatics.CreateRectArray", CreateRectArray(UINT32, Rect*, IInspectable**))

private:
    template <typename Boxed>
    static HRESULT Box(::winrt::com_ptr<Boxed> boxed, IInspectable** result) {
        *result = static_cast<IInspectable*>(static_cast<IPropertyValue*>(boxed.detach()));
        return S_OK;
    }
};

const ClassRegistration registration(PropertyValue::name,
                                     [] { return NewFactory<PropertyValueStatics>(PropertyValue::name); });

}  // namespace
}  // namespace sim

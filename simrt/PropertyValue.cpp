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
        return Box(MakeObject<BoxedValue<UINT32>>(value, 6 /* PropertyType UInt32 */), result);
    }
    HRESULT STDMETHODCALLTYPE CreateDateTime(DateTime value, IInspectable** result) noexcept override {
        SIM_FAULT("IPropertyValueStatics.CreateDateTime");
        return Box(MakeObject<BoxedValue<DateTime, IReference<DateTime>>>(value, 14 /* PropertyType DateTime */), result);
    }

#define SIM_NOT_USED(...) \
    HRESULT STDMETHODCALLTYPE __VA_ARGS__ noexcept override { return E_NOTIMPL; }
    SIM_NOT_USED(CreateEmpty(IInspectable**))
    SIM_NOT_USED(CreateUInt8(BYTE, IInspectable**))
    SIM_NOT_USED(CreateInt16(INT16, IInspectable**))
    SIM_NOT_USED(CreateUInt16(UINT16, IInspectable**))
    SIM_NOT_USED(CreateInt32(INT32, IInspectable**))
    SIM_NOT_USED(CreateInt64(INT64, IInspectable**))
    SIM_NOT_USED(CreateUInt64(UINT64, IInspectable**))
    SIM_NOT_USED(CreateSingle(FLOAT, IInspectable**))
    SIM_NOT_USED(CreateDouble(DOUBLE, IInspectable**))
    SIM_NOT_USED(CreateChar16(WCHAR, IInspectable**))
    SIM_NOT_USED(CreateBoolean(boolean, IInspectable**))
    SIM_NOT_USED(CreateString(HSTRING, IInspectable**))
    SIM_NOT_USED(CreateInspectable(IInspectable*, IInspectable**))
    SIM_NOT_USED(CreateGuid(GUID, IInspectable**))
    SIM_NOT_USED(CreateTimeSpan(TimeSpan, IInspectable**))
    SIM_NOT_USED(CreatePoint(Point, IInspectable**))
    SIM_NOT_USED(CreateSize(Size, IInspectable**))
    SIM_NOT_USED(CreateRect(Rect, IInspectable**))
    SIM_NOT_USED(CreateUInt8Array(UINT32, BYTE*, IInspectable**))
    SIM_NOT_USED(CreateInt16Array(UINT32, INT16*, IInspectable**))
    SIM_NOT_USED(CreateUInt16Array(UINT32, UINT16*, IInspectable**))
    SIM_NOT_USED(CreateInt32Array(UINT32, INT32*, IInspectable**))
    SIM_NOT_USED(CreateUInt32Array(UINT32, UINT32*, IInspectable**))
    SIM_NOT_USED(CreateInt64Array(UINT32, INT64*, IInspectable**))
    SIM_NOT_USED(CreateUInt64Array(UINT32, UINT64*, IInspectable**))
    SIM_NOT_USED(CreateSingleArray(UINT32, FLOAT*, IInspectable**))
    SIM_NOT_USED(CreateDoubleArray(UINT32, DOUBLE*, IInspectable**))
    SIM_NOT_USED(CreateChar16Array(UINT32, WCHAR*, IInspectable**))
    SIM_NOT_USED(CreateBooleanArray(UINT32, boolean*, IInspectable**))
    SIM_NOT_USED(CreateStringArray(UINT32, HSTRING*, IInspectable**))
    SIM_NOT_USED(CreateInspectableArray(UINT32, IInspectable**, IInspectable**))
    SIM_NOT_USED(CreateGuidArray(UINT32, GUID*, IInspectable**))
    SIM_NOT_USED(CreateDateTimeArray(UINT32, DateTime*, IInspectable**))
    SIM_NOT_USED(CreateTimeSpanArray(UINT32, TimeSpan*, IInspectable**))
    SIM_NOT_USED(CreatePointArray(UINT32, Point*, IInspectable**))
    SIM_NOT_USED(CreateSizeArray(UINT32, Size*, IInspectable**))
    SIM_NOT_USED(CreateRectArray(UINT32, Rect*, IInspectable**))
#undef SIM_NOT_USED

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

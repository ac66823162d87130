// Windows.Foundation value types, and the parameterized interfaces as templates
// over the ABI form of their type arguments (a runtime class becomes a pointer
// to its default interface, Boolean the one-byte boolean). The IID of each
// instance in use is in Instances.h.
#pragma once

#include "Base.h"

namespace abi::Windows::Foundation {

struct DateTime {
    INT64 UniversalTime;  // 100-ns ticks since 1601-01-01 UTC
};
struct TimeSpan {
    INT64 Duration;
};
struct Point {
    FLOAT X;
    FLOAT Y;
};
struct Size {
    FLOAT Width;
    FLOAT Height;
};
struct Rect {
    FLOAT X;
    FLOAT Y;
    FLOAT Width;
    FLOAT Height;
};

enum AsyncStatus : INT32 { Started = 0, Completed = 1, Canceled = 2, Error = 3 };

template <typename TResult>
struct IAsyncOperation;

template <typename TResult>
struct AsyncOperationCompletedHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IAsyncOperation<TResult>* asyncInfo, INT32 status) = 0;  // 3
};

template <typename TResult>
struct IAsyncOperation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(AsyncOperationCompletedHandler<TResult>* handler) = 0;   // 6
    virtual HRESULT STDMETHODCALLTYPE get_Completed(AsyncOperationCompletedHandler<TResult>** handler) = 0;  // 7
    virtual HRESULT STDMETHODCALLTYPE GetResults(TResult* results) = 0;                                      // 8
};

template <typename T>
struct IReference : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Value(T* value) = 0;  // 6
};

template <typename TSender, typename TArgs>
struct TypedEventHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(TSender sender, TArgs args) = 0;  // 3
};

}  // namespace abi::Windows::Foundation

namespace abi::Windows::Foundation::Collections {

template <typename T>
struct IIterator : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Current(T* current) = 0;                            // 6
    virtual HRESULT STDMETHODCALLTYPE get_HasCurrent(boolean* hasCurrent) = 0;                // 7
    virtual HRESULT STDMETHODCALLTYPE MoveNext(boolean* hasCurrent) = 0;                      // 8
    virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 capacity, T* value, UINT32* actual) = 0;  // 9
};

template <typename T>
struct IIterable : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE First(IIterator<T>** first) = 0;  // 6
};

template <typename T>
struct IVectorView : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, T* item) = 0;                                         // 6
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;                                               // 7
    virtual HRESULT STDMETHODCALLTYPE IndexOf(T value, UINT32* index, boolean* found) = 0;                      // 8
    virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 startIndex, UINT32 capacity, T* value, UINT32* actual) = 0;  // 9
};

template <typename T>
struct IVector : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetAt(UINT32 index, T* item) = 0;                                          // 6
    virtual HRESULT STDMETHODCALLTYPE get_Size(UINT32* size) = 0;                                                // 7
    virtual HRESULT STDMETHODCALLTYPE GetView(IVectorView<T>** view) = 0;                                        // 8
    virtual HRESULT STDMETHODCALLTYPE IndexOf(T value, UINT32* index, boolean* found) = 0;                       // 9
    virtual HRESULT STDMETHODCALLTYPE SetAt(UINT32 index, T item) = 0;                                           // 10
    virtual HRESULT STDMETHODCALLTYPE InsertAt(UINT32 index, T item) = 0;                                        // 11
    virtual HRESULT STDMETHODCALLTYPE RemoveAt(UINT32 index) = 0;                                                // 12
    virtual HRESULT STDMETHODCALLTYPE Append(T item) = 0;                                                        // 13
    virtual HRESULT STDMETHODCALLTYPE RemoveAtEnd() = 0;                                                         // 14
    virtual HRESULT STDMETHODCALLTYPE Clear() = 0;                                                               // 15
    virtual HRESULT STDMETHODCALLTYPE GetMany(UINT32 startIndex, UINT32 capacity, T* value, UINT32* actual) = 0;  // 16
    virtual HRESULT STDMETHODCALLTYPE ReplaceAll(UINT32 count, T* value) = 0;                                    // 17
};

}  // namespace abi::Windows::Foundation::Collections

namespace abi::Windows::UI {

struct Color {
    BYTE A;
    BYTE R;
    BYTE G;
    BYTE B;
};

}  // namespace abi::Windows::UI

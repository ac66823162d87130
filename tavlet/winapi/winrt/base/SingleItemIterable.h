// A runtime collection of exactly one item (IIterable<I*>), for calls that take
// a list where the library always has one element (a share's storage items).
#pragma once

#include "ComObject.h"
#include "tavlet/winapi/winrt/abi/Foundation.h"

namespace tavlet::winapi::winrt {

template <typename I>
class SingleItemIterator final
    : public ComObject<SingleItemIterator<I>, abi::Windows::Foundation::Collections::IIterator<I*>> {
public:
    explicit SingleItemIterator(::winrt::com_ptr<I> item) : item_(std::move(item)) {}
    HRESULT STDMETHODCALLTYPE get_Current(I** current) noexcept override {
        if (!current) return E_POINTER;
        *current = nullptr;
        if (!item_ || consumed_) return E_BOUNDS;  // past the end
        item_.copy_to(current);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_HasCurrent(abi::boolean* hasCurrent) noexcept override {
        if (!hasCurrent) return E_POINTER;
        *hasCurrent = item_ && !consumed_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE MoveNext(abi::boolean* hasCurrent) noexcept override {
        if (!hasCurrent) return E_POINTER;
        consumed_ = true;
        *hasCurrent = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMany(UINT32 capacity, I** items, UINT32* actual) noexcept override {
        if (!actual || (capacity && !items)) return E_POINTER;
        *actual = 0;
        if (capacity && item_ && !consumed_) {
            item_.copy_to(items);
            consumed_ = true;
            *actual = 1;
        }
        return S_OK;
    }

private:
    ::winrt::com_ptr<I> item_;
    bool consumed_ = false;
};

template <typename I>
class SingleItemIterable final
    : public ComObject<SingleItemIterable<I>, abi::Windows::Foundation::Collections::IIterable<I*>> {
public:
    explicit SingleItemIterable(::winrt::com_ptr<I> item) : item_(std::move(item)) { KeepModuleLoaded(); }
    HRESULT STDMETHODCALLTYPE First(abi::Windows::Foundation::Collections::IIterator<I*>** first) noexcept override {
        if (!first) return E_POINTER;
        *first = nullptr;
        try {
            *first = MakeObject<SingleItemIterator<I>>(item_).detach();
            return S_OK;
        } catch (...) {
            return CurrentExceptionToHresult(FailureReader::Runtime);
        }
    }

private:
    ::winrt::com_ptr<I> item_;
};

}  // namespace tavlet::winapi::winrt

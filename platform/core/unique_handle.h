#pragma once
// One owner type per kind of engine handle: released by scope on every way
// out, including a killed worker that leaves by unwinding.

#include <memory>
#include <type_traits>

template <typename Handle, auto Release>
struct HandleRelease {
  void operator()(Handle handle) const { static_cast<void>(Release(handle)); }
};

template <typename Handle, auto Release>
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<Handle>, HandleRelease<Handle, Release>>;

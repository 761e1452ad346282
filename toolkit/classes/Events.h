// TMethodEvent<Args...>: the toolkit's method pointer ("of object" event). It holds a callable and,
// when made from an instance and a member function, the instance and the member's identity,
// so two events bound to the same method of the same object compare equal and a layout writer
// can find the handler's registered name. An empty event is "not assigned"; calling it does
// nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

class TObject;

// The identity of a member function pointer, comparable whatever the member's class.
using TMethodCode = std::array<unsigned char, 16>;

template <class M>
TMethodCode MethodCodeOf(M method) {
  static_assert(sizeof(M) <= sizeof(TMethodCode), "member function pointer too large");
  TMethodCode code{};
  std::memcpy(code.data(), &method, sizeof(M));
  return code;
}

// The address that identifies an object whatever base it is seen through.
template <class T>
const void* IdentityOf(const T* object) {
  if constexpr (std::is_polymorphic_v<T>) {
    return object ? dynamic_cast<const void*>(object) : nullptr;
  } else {
    return object;
  }
}

template <class... Args>
class TMethodEvent {
 public:
  using Function = std::function<void(Args...)>;

  TMethodEvent() = default;
  TMethodEvent(std::nullptr_t) {}
  // Bound to instance->method; compares equal to any event bound to the same pair.
  template <class T, class C, class = std::enable_if_t<std::is_base_of_v<C, T>>>
  TMethodEvent(T* instance, void (C::*method)(Args...))
      : fn_([obj = static_cast<C*>(instance), method](Args... args) {
          (obj->*method)(std::forward<Args>(args)...);
        }),
        data_(IdentityOf(instance)),
        code_(MethodCodeOf(method)),
        bound_(true) {}
  // Any callable (a lambda in code or tests); such an event equals only itself being empty.
  template <class F,
            class = std::enable_if_t<!std::is_same_v<std::decay_t<F>, TMethodEvent> &&
                                     !std::is_same_v<std::decay_t<F>, std::nullptr_t> &&
                                     std::is_invocable_v<F&, Args...>>>
  TMethodEvent(F fn) : fn_(std::move(fn)) {}

  bool Assigned() const { return static_cast<bool>(fn_); }
  explicit operator bool() const { return Assigned(); }
  void operator()(Args... args) const {
    if (fn_) fn_(std::forward<Args>(args)...);
  }

  // The instance of a bound event (null otherwise) and the member's identity.
  const void* Data() const { return data_; }
  const TMethodCode& Code() const { return code_; }
  bool IsBound() const { return bound_; }

  bool operator==(std::nullptr_t) const { return !Assigned(); }
  bool operator==(const TMethodEvent& other) const {
    if (!Assigned() || !other.Assigned()) return Assigned() == other.Assigned();
    return bound_ && other.bound_ && data_ == other.data_ && code_ == other.code_;
  }

 private:
  Function fn_;
  const void* data_ = nullptr;
  TMethodCode code_{};
  bool bound_ = false;
};

using TNotifyEvent = TMethodEvent<TObject*>;

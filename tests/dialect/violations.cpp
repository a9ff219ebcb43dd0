// One construct a line that Visual C++ 2012 does not compile. Each mark names what the
// dialect check must report for its line; unmarked lines must give nothing.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace fixture {

struct Pair { int a; int b; };
struct Base { explicit Base(int) {} };
const Pair kPair = {1, 2};

constexpr int kLimit = 3;  // dialect: constexpr variable
constexpr int twice(int x) { return 2 * x; }  // dialect: constexpr function
struct Defaulted { Defaulted() = default; };  // dialect: defaulted function (= default)
struct Deleted { void f() = delete; };  // dialect: deleted function (= delete)
struct MemberInit { int n = 1; };  // dialect: in-class member initialiser
struct Delegating { Delegating(int) {} Delegating() : Delegating(0) {} };  // dialect: delegating constructor
struct Inheriting : Base { using Base::Base; };  // dialect: inheriting constructor
template <class T> using Ptr = std::unique_ptr<T>;  // dialect: alias template
using Number = int;  // dialect: type alias (using X = Y;)
template <class... Ts> void pack(Ts...) {}  // dialect: variadic template (parameter pack ...)
template <class T = int> void picked(T) {}  // dialect: default template argument of a function template
inline namespace v1 {}  // dialect: inline namespace
struct Flag { explicit operator bool() const { return true; } };  // dialect: explicit conversion operator
thread_local int perThread;  // dialect: thread_local variable
void quiet() noexcept;  // dialect: noexcept
[[noreturn]] void stop();  // dialect: attribute [[...]]
struct alignas(8) Aligned { char c; };  // dialect: alignas
const unsigned kAlign = alignof(double);  // dialect: alignof
const char* raw = R"(C:\Program Files)";  // dialect: raw string literal
const char* utf8 = u8"text";  // dialect: u8"..." literal
const char16_t* utf16 = u"text";  // dialect: char16_t; u"..." literal
const char32_t* utf32 = U"text";  // dialect: char32_t; U"..." literal
unsigned long long operator"" _kb(unsigned long long n) { return n << 10; }  // dialect: user-defined literal
const unsigned long long kBlock = 4_kb;  // dialect: user-defined literal
struct Movable { std::unique_ptr<int> p; };  // dialect: implicit move constructor used, copy deleted; implicit move assignment used, copy deleted
Movable moved() { Movable m; Movable n(std::move(m)); n = std::move(m); return n; }
const char* where() { return __func__; }  // dialect: __func__
Pair returned() { return {1, 2}; }  // dialect: braced initialiser (only `T x = { ... }` of an aggregate)
Pair direct{1, 2};  // dialect: braced initialiser (only `T x = { ... }` of an aggregate)
std::string text{"text"};  // dialect: braced constructor call
int sum() { int s = 0; for (int i : {1, 2}) s += i; return s; }  // dialect: std::initializer_list

// After C++11: the -std=c++11 compile stops at the first of these.
auto deduced() { return 1; }  // dialect: C++11 compile error; deduced return type (C++14)
auto generic = [](auto x) { return x; };  // dialect: generic lambda (C++14)
auto captured = [n = 1] { return n; };  // dialect: lambda init-capture (C++14)
Ptr<int> made = std::make_unique<int>(1);  // dialect: std::make_unique (C++14 library)
std::enable_if_t<true, int> enabled;  // dialect: std::enable_if_t (C++14 library)
std::optional<int> maybe;  // dialect: std::optional (C++17 library)
std::wstring_view view = L"text";  // dialect: std::wstring_view (C++17 library)
const bool same = std::is_same_v<int, long>;  // dialect: std::is_same_v (C++17 library)
int bound() { auto [a, b] = kPair; return a + b; }  // dialect: structured binding (C++17)
int with_if(int x) { if (int y = x; y > 0) return y; return 0; }  // dialect: if with initialiser (C++17)
int with_switch(int x) { switch (int y = x; y) { default: return y; } }  // dialect: switch with initialiser (C++17)
template <class T> int width() { if constexpr (sizeof(T) > 4) return 8; else return 4; }  // dialect: if constexpr (C++17)
inline int shared = 1;  // dialect: inline variable (C++17)
namespace outer::inner {}  // dialect: nested namespace definition (C++17)

}  // namespace fixture

// The C++11 that Visual C++ 2012 compiles, as the shipped sources write it: the dialect check
// must find nothing here. Not in comments: [[noreturn]], noexcept, R"(x)", u8"x", T... args.
#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace fixture {

struct Pair { int a; int b; };
const Pair kPairs[] = {{1, 2}, {3, 4}};
const std::wstring kNames[] = {L"[[not an attribute]]", L"noexcept R\"(x)\" u8\"\" ..."};
typedef std::vector<std::uint32_t> Numbers;
enum class Colour { Red, Green };
static_assert(sizeof(Pair) == 2 * sizeof(int), "Pair has no padding");

struct Shape { virtual ~Shape() {} virtual int sides() const = 0; };
struct Square final : Shape { int sides() const override { return 4; } };

// Move members written out; the copy declared and left undefined, as C++03 refuses it.
class Owner {
 public:
  Owner() : p_(new int(0)) {}
  Owner(Owner&& other) : p_(std::move(other.p_)) {}
  Owner& operator=(Owner&& other) { p_ = std::move(other.p_); return *this; }
 private:
  Owner(const Owner&);
  Owner& operator=(const Owner&);
  std::unique_ptr<int> p_;
};
Owner handed() { Owner o; return o; }

template <class T> T larger(T a, T b) { return a < b ? b : a; }

int total(const Numbers& numbers) {
  std::uint32_t sum = 0;
  for (auto n : numbers) sum += n;
  const auto twice = [&sum](int x) { return static_cast<int>(sum) + 2 * x; };
  std::function<int(int)> call = twice;
  decltype(sum) copy = sum;
  return call(larger(0, static_cast<int>(copy)));
}

int count_args(int n, ...) {
  va_list args;
  va_start(args, n);
  va_end(args);
  try { return n; } catch (...) { return 0; }
}

std::unordered_map<std::wstring, Colour> colours() {
  std::unordered_map<std::wstring, Colour> named;
  named[std::to_wstring(1)] = Colour::Red;
  int* none = nullptr;
  return none ? std::unordered_map<std::wstring, Colour>() : named;
}

}  // namespace fixture

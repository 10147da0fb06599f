// Placeholder until this subsystem has sources of its own.
namespace {
[[maybe_unused]] constexpr int kEmpty = 0;
}

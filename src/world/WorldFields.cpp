// The description in WorldFields.h must name every member of World and of the records in
// its tables. Each is counted twice here, once by the compiler (how many initialisers the
// aggregate takes) and once by the description; a member added to a record and left out
// of the description stops the build on the line of its record.

#include "world/WorldFields.h"

namespace kelvane {
namespace {

// Stands for an initialiser of any member.
struct AnyMember {
    template <class T>
    operator T() const;
};

// The number of members of the aggregate T: the most initialisers T{...} accepts.
template <class T, class... Members>
constexpr int MemberCount() {
    if constexpr (requires { T{Members{}..., AnyMember{}}; }) {
        return MemberCount<T, Members..., AnyMember>();
    } else {
        return sizeof...(Members);
    }
}

struct CountFields {
    int Count = 0;
    template <class T>
    constexpr void operator()(const char*, const T&) { ++Count; }
};

// The number of fields the description names.
template <class T>
constexpr int DescribedCount() {
    T record{};
    CountFields count;
    Describe(count, record);
    return count.Count;
}

static_assert(std::is_aggregate_v<World>, "World must stay an aggregate (no constructor) to be counted");
static_assert(MemberCount<TExplosionPart>() == DescribedCount<TExplosionPart>(),
              "TExplosionPart has a member that WorldFields.h does not describe");
static_assert(MemberCount<TBeam>() == DescribedCount<TBeam>(),
              "TBeam has a member that WorldFields.h does not describe");
// clang 14 cannot make libstdc++ 12's std::string in a constant expression (fixed in clang
// 15), so it counts only the records without strings; the GCC build counts them all.
#if !defined(__clang__) || __clang_major__ >= 15
static_assert(MemberCount<TShip>() == DescribedCount<TShip>(),
              "TShip has a member that WorldFields.h does not describe");
static_assert(MemberCount<TProjectileWeapon>() == DescribedCount<TProjectileWeapon>(),
              "TProjectileWeapon has a member that WorldFields.h does not describe");
static_assert(MemberCount<World>() == DescribedCount<World>(),
              "World has a member that WorldFields.h does not describe");
#endif

}  // namespace
}  // namespace kelvane

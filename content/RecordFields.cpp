#include "RecordFields.h"

#include <type_traits>

namespace brakkon {
namespace {

template <typename Record, auto Member>
std::int32_t GetMember(const Record& r)
{
    return static_cast<std::int32_t>(r.*Member);
}

template <typename Record, auto Member>
void SetMember(Record& r, std::int32_t v)
{
    using Type = std::remove_cvref_t<decltype(r.*Member)>;
    r.*Member = static_cast<Type>(v);
}

template <typename Record, auto Member>
RecordField<Record> Field(std::string_view name)
{
    using Type = std::remove_cvref_t<decltype(std::declval<Record&>().*Member)>;
    return {name, std::is_same_v<Type, std::uint8_t>, &GetMember<Record, Member>, &SetMember<Record, Member>};
}

} // namespace

const std::vector<RecordField<CellType>>& CellFields()
{
    using C = CellType;
    static const std::vector<RecordField<C>> fields = {
        Field<C, &C::Bonus>("Bonus"),       Field<C, &C::TopImage>("TopImage"),
        Field<C, &C::Block>("Block"),       Field<C, &C::WallImage>("WallImage"),
        Field<C, &C::Hardness>("Hardness"), Field<C, &C::GroundImage>("GroundImage"),
        Field<C, &C::Left>("Left"),         Field<C, &C::Top>("Top"),
        Field<C, &C::Right>("Right"),       Field<C, &C::Bottom>("Bottom"),
        Field<C, &C::Dirty>("Dirty"),
    };
    return fields;
}

const std::vector<RecordField<SpriteType>>& SpriteFields()
{
    using S = SpriteType;
    static const std::vector<RecordField<S>> fields = {
        Field<S, &S::Index>("Index"),
        Field<S, &S::Kind>("Kind"),
        Field<S, &S::ImageGroup>("ImageGroup"),
        Field<S, &S::Direction>("Direction"),
        Field<S, &S::Frame>("Frame"),
        Field<S, &S::Level>("Level"),
        Field<S, &S::ReverseChance>("ReverseChance"),
        Field<S, &S::TurnChance>("TurnChance"),
        Field<S, &S::BackChance>("BackChance"),
        Field<S, &S::FireChance>("FireChance"),
        Field<S, &S::StepPeriod>("StepPeriod"),
        Field<S, &S::StepCount>("StepCount"),
        Field<S, &S::Active>("Active"),
        Field<S, &S::Shield>("Shield"),
        Field<S, &S::Col>("Col"),
        Field<S, &S::Row>("Row"),
        Field<S, &S::Left>("Left"),
        Field<S, &S::Top>("Top"),
        Field<S, &S::Right>("Right"),
        Field<S, &S::Bottom>("Bottom"),
        Field<S, &S::OffsetX>("OffsetX"),
        Field<S, &S::OffsetY>("OffsetY"),
        Field<S, &S::Armour>("Armour"),
        Field<S, &S::Dirty>("Dirty"),
    };
    return fields;
}

} // namespace brakkon

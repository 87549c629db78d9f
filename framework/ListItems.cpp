#include "framework/ListItems.h"

#include "framework/ListItemStore.h"

#include <stdexcept>

void TSubItems::Add(std::string_view text)
{
    if (hasFirst_) {
        if (!more_)
            more_ = std::make_unique<std::vector<std::string>>();
        more_->emplace_back(text);
    } else {
        Store(Caption(), text, true);
    }
}

int TSubItems::Count() const
{
    return (hasFirst_ ? 1 : 0) + (more_ ? static_cast<int>(more_->size()) : 0);
}

std::string_view TSubItems::operator[](int index) const
{
    if (index < 0 || index >= Count())
        throw std::out_of_range("no such sub-item");
    return index == 0 ? First() : std::string_view((*more_)[static_cast<std::size_t>(index - 1)]);
}

std::string TSubItems::Text() const
{
    std::string text;
    for (int index = 0; index < Count(); ++index) {
        text += (*this)[index];
        text += "\r\n";
    }
    return text;
}

std::string_view TSubItems::Caption() const
{
    return {kept_ + (captionShared_ ? firstSize_ - captionSize_ : 0), captionSize_};
}

std::string_view TSubItems::First() const { return {kept_ + (captionShared_ ? 0 : captionSize_), firstSize_}; }

std::string_view TSubItems::Kept() const
{
    return {kept_, captionShared_ ? firstSize_ : std::size_t{captionSize_} + firstSize_};
}

void TSubItems::MoveTexts(TextArena& arena) { kept_ = arena.Keep(Kept()).data(); }

void TSubItems::SetCaption(std::string_view caption) { Store(caption, First(), hasFirst_); }

void TSubItems::Store(std::string_view caption, std::string_view first, bool hasFirst)
{
    if (caption.size() > UINT32_MAX || first.size() > UINT32_MAX)
        throw std::length_error("text too long for a list item");
    const bool shared = hasFirst && first.ends_with(caption);
    const std::string_view kept = Kept();
    // Bytes that already hold just the first sub-item serve as they are: the
    // usual caption, the file name at the end of the path, needs no copy.
    if (!shared || kept.data() != first.data() || kept.size() != first.size())
        kept_ = (shared ? store_->KeepTexts(first) : store_->KeepTexts(caption, first)).data();
    captionSize_ = static_cast<std::uint32_t>(caption.size());
    firstSize_ = static_cast<std::uint32_t>(first.size());
    captionShared_ = shared;
    hasFirst_ = hasFirst;
    store_->TextsReplaced(kept.size(), Kept().size());
}

void TListItem::SetCaption(std::string_view caption)
{
    TSubItems::SetCaption(caption);
    store_->CaptionChanged(*this);
}

int TListItem::Index() const { return store_->IndexOf(*this); }

void TListItem::SetSelected(bool selected) { store_->SetSelected(*this, selected); }

void TListItem::Delete() { store_->Delete(*this); }

TListItem* TListItems::Add() { return store_.Add(); }

int TListItems::Count() const { return store_.Count(); }

TListItem* TListItems::Item(int index) { return store_.Item(index); }

void TListItems::Delete(int index)
{
    if (TListItem* item = store_.Item(index))
        item->Delete();
}

void TListItems::Clear() { store_.Clear(); }

void TListItems::BeginUpdate() { store_.BeginUpdate(); }

void TListItems::EndUpdate() { store_.EndUpdate(); }

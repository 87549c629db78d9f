#pragma once
// The items of a report-style list: each with a caption, sub-items and a
// selection mark. They are kept by a ListItemStore (ListItemStore.h), which
// any view of them observes; these classes are the face the program sees.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ListItemStore;
class TextArena;

// An item's texts: its caption and its sub-items. The caption and the first
// sub-item are kept together in the store's text arena, and a caption that
// ends the first sub-item (a file's name and its path) shares its bytes, so
// an entry of a long playlist costs no allocation of its own.
//
// Texts are handed out as views, each valid until the list next changes.
class TSubItems {
public:
    void Add(std::string_view text);
    int Count() const;
    std::string_view operator[](int index) const;
    // Every sub-item followed by CR LF.
    std::string Text() const;

protected:
    explicit TSubItems(ListItemStore* store) : store_(store) {}

    std::string_view Caption() const;
    void SetCaption(std::string_view caption);
    // The bytes this item holds in the arena.
    std::string_view Kept() const;
    // Copies the kept bytes into arena and uses that copy from now on.
    void MoveTexts(TextArena& arena);

    ListItemStore* store_;

private:
    std::string_view First() const;
    void Store(std::string_view caption, std::string_view first, bool hasFirst);

    const char* kept_ = nullptr;
    std::uint32_t captionSize_ = 0;
    std::uint32_t firstSize_ = 0;
    std::unique_ptr<std::vector<std::string>> more_;
    bool captionShared_ = false;
    bool hasFirst_ = false;
};

// An item is its texts and its place in the list; only the store makes,
// places and recycles items.
class TListItem : private TSubItems {
public:
    // 8-bit text in the locale's encoding.
    std::string_view Caption() const { return TSubItems::Caption(); }
    void SetCaption(std::string_view caption);
    TSubItems* SubItems() { return this; }
    const TSubItems* SubItems() const { return this; }

    // The item's position in the list, counted from 0.
    int Index() const;
    bool Selected() const { return selected_; }
    // Touches no other item, nor the focus or the scroll position.
    void SetSelected(bool selected);
    // Removes the item from the list; the item is gone afterwards.
    void Delete();

private:
    friend class ListItemStore;
    explicit TListItem(ListItemStore* store) : TSubItems(store) {}

    bool selected_ = false;
    // Deleted items stay in their slots, still shown, until the next flush.
    bool deleted_ = false;
    std::uint32_t slot_ = 0;
};

class TListItems {
public:
    explicit TListItems(ListItemStore& store) : store_(store) {}
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    // Appends an item at the end.
    TListItem* Add();
    int Count() const;
    // The item at index, or nullptr when there is none.
    TListItem* Item(int index);
    void Delete(int index);
    void Clear();

    // Redraw suspended; counted, so batches may nest.
    void BeginUpdate();
    void EndUpdate();

private:
    ListItemStore& store_;
};

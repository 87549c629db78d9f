#include "PlaylistFixture.h"

void PlaylistFixture::start()
{
    application_ = std::make_unique<TApplication>(folder() + "kolviplayer");
    application_->CreateForm(form);
}

void PlaylistFixture::stop()
{
    application_.reset();
    form = nullptr;
}

std::vector<std::string> PlaylistFixture::paths() const
{
    std::vector<std::string> result;
    TListItems* items = form->lvFileList->Items();
    for (int i = 0; i < items->Count(); ++i)
        result.push_back(TfrmKolviPlayer::EntryPath(items->Item(i)));
    return result;
}

std::vector<std::string> PlaylistFixture::captions() const
{
    std::vector<std::string> result;
    TListItems* items = form->lvFileList->Items();
    for (int i = 0; i < items->Count(); ++i)
        result.emplace_back(items->Item(i)->Caption());
    return result;
}

std::vector<int> PlaylistFixture::selected() const
{
    std::vector<int> result;
    for (TListItem* item = form->lvFileList->Selected(); item != nullptr;
         item = form->lvFileList->GetNextSelected(item))
        result.push_back(item->Index());
    return result;
}

void PlaylistFixture::select(std::initializer_list<int> indexes)
{
    for (int index : indexes)
        form->lvFileList->Items()->Item(index)->SetSelected(true);
}

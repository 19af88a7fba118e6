#include "plot/iPlotTranslation.h"

#include "platform/Exception.h"

TiPlotTranslationObject& TiPlotTranslationManager::NewEntry() {
    FEntries.push_back(std::make_unique<TiPlotTranslationObject>());
    return *FEntries.back();
}

TiPlotTranslationObject& TiPlotTranslationManager::Item(int Index) const {
    if (Index < 0 || Index >= Count())
        throw Exception("List index out of bounds (" + std::to_string(Index) + ")");
    return *FEntries[Index];
}

void TiPlotTranslationManager::Delete(int Index) {
    Item(Index);
    FEntries.erase(FEntries.begin() + Index);
}

std::string TiPlotTranslationManager::Translate(const std::string& Text) const {
    for (const auto& Entry : FEntries)
        if (Entry->OriginalString() == Text)
            return Entry->ReplacementString();
    return Text;
}

#pragma once
// The plot's table of replacements for its fixed English texts. An empty
// table returns every text unchanged.

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class TiPlotTranslationObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(std::string OriginalString READ OriginalString WRITE SetOriginalString)
    Q_PROPERTY(std::string ReplacementString READ ReplacementString WRITE SetReplacementString)

  public:
    const std::string& OriginalString() const { return FOriginalString; }
    void SetOriginalString(const std::string& Value) { FOriginalString = Value; }
    const std::string& ReplacementString() const { return FReplacementString; }
    void SetReplacementString(const std::string& Value) { FReplacementString = Value; }

  private:
    std::string FOriginalString = "Unknown";
    std::string FReplacementString = "Unknown";
};

class TiPlotTranslationManager {
  public:
    TiPlotTranslationObject& NewEntry();
    // Destroys the entry at Index.
    void Delete(int Index);
    void Clear() { FEntries.clear(); }
    int Count() const { return int(FEntries.size()); }
    TiPlotTranslationObject& Item(int Index) const;
    bool HasEntries() const { return !FEntries.empty(); }
    // The replacement of the first entry whose original is exactly Text.
    std::string Translate(const std::string& Text) const;

  private:
    std::vector<std::unique_ptr<TiPlotTranslationObject>> FEntries;
};

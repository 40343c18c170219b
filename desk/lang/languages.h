// Interface language tables. A language is chosen by its two-letter upper-case
// code ("SK", "CZ", "EN", ...); any other code names no language.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

inline constexpr int kLanguageRows = 26;

// Row numbers of a language table (1-based as in the table, index = row - 1).
enum LanguageRow {
    RowIdLabel = 1,
    RowEmailLabel,
    RowNameLabel,
    RowOutputHeading,
    RowOptionsHeading,
    RowOptionsColumn,
    RowOptionsNote,
    RowRightNote,
    RowRegister,
    RowShowQr,
    RowSaveQr,
    RowSaveAll,
    RowSetQrNumbers,
    RowGenerateA4,
    RowPrintQr,
    RowDefaultName,
    RowDefaultT1,
    RowDefaultT2,
    RowDefaultT3,
    RowDefaultT4,
    RowDefaultO1,
    RowDefaultO2,
    RowDefaultO3,
    RowDefaultO4,
    RowAlertPrefix,
    RowAlertCaption
};

struct LanguageTexts {
    std::array<QString, kLanguageRows> rows;
    const QString& row(LanguageRow r) const { return rows[std::size_t(r - 1)]; }
};

// The twelve codes in the language selector's order.
const QStringList& languageCodes();
// The texts of a code; nothing for an unknown code (codes are case-sensitive).
std::optional<LanguageTexts> languageTexts(const QString& code);

#pragma once
// Reading and changing the format of an editor's selection: what the context
// menu marks and what its formatting commands do. Character changes touch the
// selected characters only (with no selection, the format for typing); each
// change sets the one attribute it names.

#include "editor/rtf/RichText.h"

#include <QString>
#include <cstdint>
#include <optional>

class QTextEdit;

namespace EditorFormatting {

enum class Effect { Bold, Italic, Strikeout, Underline };

// Paragraph alignment values as the menu knows them; 0 means none was set.
enum AlignmentValue { kAlignNone = 0, kAlignLeft = 1, kAlignRight = 2, kAlignCenter = 3, kAlignJustify = 4 };

// The automatic colour, as the colour popup hands it back.
inline constexpr uint32_t kAutomaticColour = 0xFF000000u;

// The face or height shared by every selected character; empty / 0 when they differ.
std::optional<QString> selectionFace(const QTextEdit& editor);
int selectionHeightTwips(const QTextEdit& editor);
// True when every selected character has the effect.
bool selectionHas(const QTextEdit& editor, Effect effect);
// The first selected character's colours (0x00RRGGBB, or kAutomaticColour).
uint32_t selectionTextColour(const QTextEdit& editor);
uint32_t selectionBackColour(const QTextEdit& editor);

void setFace(QTextEdit& editor, const QString& face);
void setHeightTwips(QTextEdit& editor, int twips);
// Sets the effect when the selection does not fully have it, clears it when it does.
void toggleEffect(QTextEdit& editor, Effect effect);
void setTextColour(QTextEdit& editor, uint32_t colour);
void setBackColour(QTextEdit& editor, uint32_t colour);

// The first selected paragraph's alignment and numbering kind.
int alignmentValue(const QTextEdit& editor);
rtf::Numbering numberingKind(const QTextEdit& editor);
// Paragraph changes apply to every selected paragraph, together with numbering start 1.
void setAlignment(QTextEdit& editor, int value);
void setNumbering(QTextEdit& editor, rtf::Numbering kind);

} // namespace EditorFormatting

// The commands that work on the document file as a whole: Comprimer, Fusionner avec..., Exporter and Importer
// (.wnv), and the file notes (Bloc-notes fichier).
#pragma once

namespace notavera {

class CommandRegistry;
class DialogModel;
class ScoreDocument;

// The "Information sur le fichier courant" dialog on the document's notes text, and what its OK does: an empty
// text removes the notes, another replaces them (cut to 2047 bytes) and marks the document modified.
DialogModel MakeFileNotesDialog(const ScoreDocument& doc);
void AcceptFileNotesDialog(const DialogModel& model, ScoreDocument& doc);

void RegisterWholeFileCommands(CommandRegistry& registry);

}  // namespace notavera

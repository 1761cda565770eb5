// The numbers of the messages that several subsystems report, named once for all of them.
#pragma once

namespace notavera::msg {

inline constexpr int diskError = 1;        // "Erreur Disque: Fichier non écrit"
inline constexpr int cannotWrite = 2;      // "Impossible d'écrire le fichier %s"
inline constexpr int cannotRead = 4;       // "Impossible de lire le fichier %s !"
inline constexpr int readOnly = 5;         // "Fichier en lecture seulement"
inline constexpr int cannotReopen = 6;     // "Impossible de réouvrir le fichier %s"
inline constexpr int version = 7;          // "Version de fichiers incompatibles."
inline constexpr int writeError = 8;       // "Erreur d'écriture"
inline constexpr int readError = 9;        // "Erreur de lecture."
inline constexpr int saveFirst = 23;       // "Sauver d'abord le fichier %s"
inline constexpr int written = 24;         // "Fichier %s écrit"
inline constexpr int printerFailed = 32;   // "Erreur système: l'imprimante ne répond pas"
inline constexpr int tooManyTimers = 33;   // "Trop d'horloges actives!"
inline constexpr int cancelled = 40;       // "Opération annulée par l'utilisateur"
inline constexpr int mergeWithItself = 64; // "Un fichier ne peut fusionner avec lui-même"
inline constexpr int recoveryOffer = 72;   // "Une version de sauvegarde <%s> peut-être plus complète existe. …"
inline constexpr int tooManyPages = 75;    // a merged document would pass the 255 pages of its table

}  // namespace notavera::msg

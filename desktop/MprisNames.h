#pragma once
// Where the player shows itself on the session bus (MPRIS 2).
#include <QString>

inline const QString MprisBusName = QStringLiteral("org.mpris.MediaPlayer2.kolviplayer");
inline const QString MprisObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString MprisRootInterface = QStringLiteral("org.mpris.MediaPlayer2");
inline const QString MprisPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
// The track id of "no track"; a playlist entry's is TrackIdPrefix + its index.
inline const QString NoTrackId = QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack");
inline const QString TrackIdPrefix = QStringLiteral("/org/kolviplayer/Track/");

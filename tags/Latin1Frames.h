#pragma once
// ID3v2 frames marked Latin-1 hold whatever the tagger's system used:
// CP949 in Korean collections of the 2000s. TagLib is made to read them by
// DecodeLegacyText, for every tag it reads from then on.
void ReadLatin1FramesAsLegacyText();

// Texture groups, texture lists (".tex") and the upload of one image with its colour key.
#pragma once

// Loads the list's images into slots 0..N-1 of the group. A list that cannot be read shows the
// "Błąd" message and starts the shutdown.
void loadTextureList(const char* path, int group);
// Loads one image into a slot of a group; a failed image leaves the slot as it was.
void loadTexture(const char* path, int slot, int group);

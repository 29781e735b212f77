# Run by CPack on the staged tree before the .deb is made: a game's programs go to /usr/games, as
# Debian keeps them. The launcher finds the data tree from its own place, ../share/velbrant, which
# is the same from /usr/games as from /usr/bin.
set(staged ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr)
if(NOT IS_DIRECTORY ${staged}/bin)
  message(FATAL_ERROR "deb-layout: no ${staged}/bin to move")
endif()
file(RENAME ${staged}/bin ${staged}/games)

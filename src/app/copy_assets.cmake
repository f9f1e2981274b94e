# Copies the demo game's assets (pictures, sounds) into the built game, when it has any.
if(IS_DIRECTORY "${SOURCE}")
  file(COPY "${SOURCE}/" DESTINATION "${DEST}")
endif()

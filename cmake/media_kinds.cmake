# SPDX-FileCopyrightText: 2026 The Sorinel developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The kinds of media file the player takes, said once: each a name extension
# and the MIME types a desktop knows it by. The list's order is the file
# list's pattern (window/media_kinds.h.in); the desktop entry, the AppStream
# metainfo, what MPRIS says it opens and the manual page take the kinds from
# here too, so a kind added here reaches them all.
#
# .m2p and .dvr-ms have no name in the shared MIME database: it knows them by
# their content, as MPEG (video/mpeg) and ASF (application/vnd.ms-asf). Newer
# databases (Debian 13) call .avi video/vnd.avi and .wav audio/vnd.wave.
set(SORINEL_MEDIA_KINDS
  "mpeg   video/mpeg"
  "wma    audio/x-ms-wma"
  "wmv    video/x-ms-wmv"
  "avi    video/x-msvideo video/vnd.avi"
  "mov    video/quicktime"
  "mpg    video/mpeg"
  "mp3    audio/mpeg"
  "mp2    audio/mp2"
  "m2p    video/mpeg"
  "wav    audio/x-wav audio/vnd.wave"
  "asf    application/vnd.ms-asf video/x-ms-asf"
  "midi   audio/midi"
  "aiff   audio/x-aiff"
  "au     audio/basic"
  "dvr-ms application/vnd.ms-asf")

# The manual page says the kinds by family, in a reading order of its own;
# a kind without a family stands alone. Each kind above is here once.
set(SORINEL_MEDIA_KINDS_IN_THE_MANUAL
  "MPEG-1/2: mpeg mpg m2p"
  "Windows Media: wmv wma asf dvr-ms"
  avi mov mp3 mp2 wav aiff au
  "General MIDI: midi")

# What the rest of the build reads:
#   SORINEL_MEDIA_EXTENSIONS   the extensions, in the list's order
#   SORINEL_MEDIA_PATTERN      "*.mpeg;*.wma;...;" as the file list takes it
#   SORINEL_MEDIA_MIME_TYPES   each MIME type once, in the list's order
#   SORINEL_MEDIA_KINDS_IN_WORDS  "MPEG-1/2 (.mpeg .mpg .m2p), ... and
#                              General MIDI (.midi)" for the manual page
# The names end up in C++ strings, XML and roff unescaped, so each is held to
# the characters those take as they are.
function(sorinel_derive_media_kinds)
  set(SORINEL_MEDIA_EXTENSIONS)
  set(SORINEL_MEDIA_PATTERN "")
  set(SORINEL_MEDIA_MIME_TYPES)
  foreach(kind IN LISTS SORINEL_MEDIA_KINDS)
    string(REGEX MATCHALL "[^ ]+" fields "${kind}")
    list(POP_FRONT fields extension)
    if(NOT extension MATCHES "^[a-z0-9][a-z0-9-]*$" OR NOT fields)
      message(FATAL_ERROR "media kind '${kind}': an extension and at least one MIME type")
    endif()
    foreach(type IN LISTS fields)
      if(NOT type MATCHES "^[a-z]+/[a-z0-9][a-z0-9.+-]*$")
        message(FATAL_ERROR "media kind '${kind}': '${type}' is not a MIME type")
      endif()
    endforeach()
    if(extension IN_LIST SORINEL_MEDIA_EXTENSIONS)
      message(FATAL_ERROR "media kind '${extension}' is listed twice")
    endif()
    list(APPEND SORINEL_MEDIA_EXTENSIONS "${extension}")
    string(APPEND SORINEL_MEDIA_PATTERN "*.${extension};")
    list(APPEND SORINEL_MEDIA_MIME_TYPES ${fields})
  endforeach()
  list(REMOVE_DUPLICATES SORINEL_MEDIA_MIME_TYPES)

  set(said)
  set(phrases)
  foreach(group IN LISTS SORINEL_MEDIA_KINDS_IN_THE_MANUAL)
    if(group MATCHES "^([^:]+): (.+)$")
      set(family "${CMAKE_MATCH_1}")
      string(REGEX MATCHALL "[^ ]+" members "${CMAKE_MATCH_2}")
    else()
      set(family "")
      set(members "${group}")
    endif()
    foreach(extension IN LISTS members)
      if(NOT extension IN_LIST SORINEL_MEDIA_EXTENSIONS OR extension IN_LIST said)
        message(FATAL_ERROR "the manual's '${extension}' is not a media kind, or is said twice")
      endif()
      list(APPEND said "${extension}")
    endforeach()
    list(TRANSFORM members PREPEND ".")
    if(family STREQUAL "")
      list(APPEND phrases "${members}")
    else()
      list(JOIN members " " members)
      list(APPEND phrases "${family} (${members})")
    endif()
  endforeach()
  foreach(extension IN LISTS SORINEL_MEDIA_EXTENSIONS)
    if(NOT extension IN_LIST said)
      message(FATAL_ERROR "media kind '${extension}' is missing from SORINEL_MEDIA_KINDS_IN_THE_MANUAL")
    endif()
  endforeach()
  list(POP_BACK phrases last)
  list(JOIN phrases ", " SORINEL_MEDIA_KINDS_IN_WORDS)
  list(LENGTH phrases before_last)
  if(before_last GREATER 0)
    string(APPEND SORINEL_MEDIA_KINDS_IN_WORDS " and ")
  endif()
  string(APPEND SORINEL_MEDIA_KINDS_IN_WORDS "${last}")
  foreach(name IN ITEMS EXTENSIONS PATTERN MIME_TYPES KINDS_IN_WORDS)
    set(SORINEL_MEDIA_${name} "${SORINEL_MEDIA_${name}}" PARENT_SCOPE)
  endforeach()
endfunction()
sorinel_derive_media_kinds()

# Checks that the desktop entry and the metainfo agree with each other and with the build: the
# metainfo's id and launchable are the application id the files are installed under, its newest
# release is the project's version, and the desktop entry starts the installed program and shows
# the installed icon. Run as: cmake -DMETAINFO=… -DDESKTOP=… -DAPP_ID=… -DVERSION=… -P this file.
foreach(var METAINFO DESKTOP APP_ID VERSION)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check-files.cmake needs -D${var}=…")
  endif()
endforeach()

file(READ ${METAINFO} metainfo)
file(STRINGS ${DESKTOP} desktop)

set(failures "")

string(REGEX MATCH "<id>([^<]*)</id>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL APP_ID)
  list(APPEND failures "metainfo id is '${CMAKE_MATCH_1}', the files are installed as '${APP_ID}'")
endif()

string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL "${APP_ID}.desktop")
  list(APPEND failures
       "metainfo launches '${CMAKE_MATCH_1}', the desktop entry is installed as '${APP_ID}.desktop'")
endif()

# AppStream lists releases newest first; the first one is the version being packed.
string(REGEX MATCH "<release [^>]*version=\"([^\"]*)\"" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL VERSION)
  list(APPEND failures "metainfo's newest release is '${CMAKE_MATCH_1}', the project is '${VERSION}'")
endif()

string(REGEX MATCH "<binary>([^<]*)</binary>" _ "${metainfo}")
if(NOT CMAKE_MATCH_1 STREQUAL "vennic")
  list(APPEND failures "metainfo provides the program '${CMAKE_MATCH_1}', the program is 'vennic'")
endif()

# Only the [Desktop Entry] group's keys count; an action group may have an Exec of its own.
set(group "")
set(exec "")
set(icon "")
foreach(line IN LISTS desktop)
  if(line MATCHES "^\\[(.*)\\]$")
    set(group "${CMAKE_MATCH_1}")
  elseif(group STREQUAL "Desktop Entry" AND line MATCHES "^Exec=(.*)$")
    set(exec "${CMAKE_MATCH_1}")
  elseif(group STREQUAL "Desktop Entry" AND line MATCHES "^Icon=(.*)$")
    set(icon "${CMAKE_MATCH_1}")
  endif()
endforeach()
if(NOT exec MATCHES "^vennic( |$)")
  list(APPEND failures "desktop entry runs '${exec}', the installed program is 'vennic'")
endif()
if(NOT icon STREQUAL APP_ID)
  list(APPEND failures "desktop entry shows icon '${icon}', the icon is installed as '${APP_ID}'")
endif()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Packaging files disagree:\n  ${text}")
endif()

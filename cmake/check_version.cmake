# Fails when a text that shows the program's version disagrees with the
# project version (VERSION), in the sources under SOURCE.
file(READ "${SOURCE}/app/version_dialog.cpp" dialog)
if(NOT dialog MATCHES "\"Version ${VERSION}\"")
  message(FATAL_ERROR "app/version_dialog.cpp does not show \"Version ${VERSION}\"")
endif()
file(READ "${SOURCE}/resources/kirasoe.manifest" manifest)
if(NOT manifest MATCHES "version=\"${VERSION}.0\"")
  message(FATAL_ERROR "resources/kirasoe.manifest does not carry version ${VERSION}.0")
endif()
message(STATUS "version texts agree with ${VERSION}")

# The fuzz targets and the project sources each one compiles (the parsers' neutral cores).
set(APP ${ROOT}/app/src)
set(UI ${ROOT}/ui)
set(SERVICES ${ROOT}/services)
set(UI_INCLUDES ${UI}/include ${UI}/skin ${UI}/model)
set(LUA_EXPAT_INCLUDES ${LUA51_INCLUDE} ${EXPAT_INCLUDE})

pinvale_fuzz(cmdline SOURCES ${APP}/HandedPath.cpp INCLUDES ${APP})
pinvale_fuzz(copydata SOURCES ${APP}/HandedPath.cpp INCLUDES ${APP})
pinvale_fuzz(droplist INCLUDES ${ROOT}/base/include)
pinvale_fuzz(legacylist SOURCES ${APP}/LegacyList.cpp INCLUDES ${APP})
pinvale_fuzz(iconcache SOURCES ${APP}/IconCache.cpp INCLUDES ${APP})
pinvale_fuzz(hotkey SOURCES ${APP}/HotKeyRules.cpp ${UI}/skin/XmlStream.cpp
             INCLUDES ${APP} ${UI}/include ${EXPAT_INCLUDE} LIBS ${EXPAT_LIBRARY})
pinvale_fuzz(xmlstream SOURCES ${UI}/skin/XmlStream.cpp INCLUDES ${UI_INCLUDES} ${EXPAT_INCLUDE}
             LIBS ${EXPAT_LIBRARY})
pinvale_fuzz(updatedesc SOURCES ${ROOT}/updater/src/UpdateRules.cpp INCLUDES ${ROOT}/updater/src)
pinvale_fuzz(http SOURCES ${SERVICES}/src/HttpText.cpp INCLUDES ${SERVICES}/src)
pinvale_fuzz(regscript SOURCES ${ROOT}/contextmenu/src/RegScript.cpp INCLUDES ${ROOT}/contextmenu/src)
pinvale_fuzz(versiontext SOURCES ${SERVICES}/src/VersionText.cpp INCLUDES ${SERVICES}/src)
pinvale_fuzz(identity SOURCES ${SERVICES}/src/DiskIdentity.cpp INCLUDES ${SERVICES}/src)
pinvale_fuzz(oskelargs SOURCES ${ROOT}/scriptlib/src/OskelArgs.cpp ${ROOT}/scriptlib/src/OskelValues.cpp
             INCLUDES ${ROOT}/scriptlib/src ${LUA51_INCLUDE} LIBS ${LUA51_LIBRARY})
pinvale_fuzz(oskelxml SOURCES ${ROOT}/scriptlib/src/OskelXmlReader.cpp ${ROOT}/scriptlib/src/OskelValues.cpp
             INCLUDES ${ROOT}/scriptlib/src ${LUA_EXPAT_INCLUDES} LIBS ${LUA51_LIBRARY} ${EXPAT_LIBRARY})
pinvale_fuzz(skinpackage SOURCES ${UI}/skin/SkinPackageIndex.cpp INCLUDES ${UI}/skin)
pinvale_fuzz(richtext SOURCES ${UI}/controls/RichTextMarkup.cpp ${UI}/skin/SkinValueText.cpp
             INCLUDES ${UI}/controls ${UI}/skin)
set(SKIN_READERS ${UI}/skin/XmlStream.cpp ${UI}/skin/SkinValueText.cpp ${UI}/skin/SkinReaderRules.cpp)
pinvale_fuzz(apptemplate SOURCES ${SKIN_READERS} INCLUDES ${UI_INCLUDES} ${EXPAT_INCLUDE} LIBS ${EXPAT_LIBRARY})
pinvale_fuzz(fonttemplate SOURCES ${SKIN_READERS} INCLUDES ${UI_INCLUDES} ${EXPAT_INCLUDE} LIBS ${EXPAT_LIBRARY})
pinvale_fuzz(uitemplate SOURCES ${UI}/skin/XmlStream.cpp ${UI}/skin/SkinValueText.cpp ${UI}/model/TemplateGrammar.cpp
             INCLUDES ${UI_INCLUDES} ${EXPAT_INCLUDE} LIBS ${EXPAT_LIBRARY})

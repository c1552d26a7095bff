# The product version: every deliverable's version resource and the setup program carry it.
# PINVALE_NEXT_VERSION (last part plus one) is what the upgrade tests build a newer setup of.
set(PINVALE_VERSION "2.1.0.1")
string(REPLACE "." "," PINVALE_VERSION_COMMAS "${PINVALE_VERSION}")
string(REGEX MATCH "^(.*)\\.([0-9]+)$" _ "${PINVALE_VERSION}")
math(EXPR _pinvale_last "${CMAKE_MATCH_2} + 1")
set(PINVALE_NEXT_VERSION "${CMAKE_MATCH_1}.${_pinvale_last}")

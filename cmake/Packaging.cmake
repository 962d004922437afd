# A .deb of the program, its desktop entry, icons, metainfo and help page.
# Its dependencies are worked out from the libraries the program links.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ambrelay)
set(CPACK_PACKAGE_VERSION "${AMBRELAY_VERSION}")
set(CPACK_PACKAGE_VENDOR "The Ambrelay developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tells which version of an A/B test won")
set(CPACK_PACKAGE_DESCRIPTION
    "Ambrelay judges a test between two versions of a web page, an advertisement\n"
    "or a mailing: from how often each version was seen and how many responses\n"
    "each drew, it shows both response rates, the p value and z statistic of a\n"
    "two-proportion z-test, and a verdict that names the winner and how sure the\n"
    "result is.")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Ambrelay developers <developers@ambrelay.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.ambrelay.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# fonts-liberation draws the window's fonts where Courier New and MS Sans Serif are missing.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)

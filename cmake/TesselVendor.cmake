# The vendor's addresses, compiled into the program (TesselConfig.h). This is the one place
# they are set: a packager overrides them with -D on the cmake line. The defaults are reserved
# example names (RFC 2606), so an unconfigured build never writes to a real third party.
set(TESSEL_FEEDBACK_EMAIL "feedback@tessel.example" CACHE STRING
    "Recipient of the support-request and beta-test mails")
set(TESSEL_SUPPORT_ADDRESS "support@tessel.example" CACHE STRING
    "Built-in support address: recipient of problem reports, fallback of the support mail")
set(TESSEL_VENDOR_WEB_ADDRESS "https://tessel.example/" CACHE STRING
    "The vendor's web address; with the product's name the fallback product page")
set(TESSEL_VENDOR_PRODUCT_PAGE "https://tessel.example/tessel/" CACHE STRING
    "The vendor's page for this product (empty: the web address followed by tessel/)")
set(TESSEL_STORE_PRODUCT_PAGE "https://tessel.example/store/tessel" CACHE STRING
    "The product's page in a software store, in the browser (empty: none)")
# "appstream:ID" without slashes: as a URL host the ID would lose its capitals.
set(TESSEL_STORE_APP_PAGE "appstream:${TESSEL_APP_ID}" CACHE STRING
    "The product in the desktop's software centre (empty: none)")
set(TESSEL_UPDATES_PRODUCT_PAGE "https://tessel.example/updates/tessel" CACHE STRING
    "The product's page on an update-tracking site (empty: none)")

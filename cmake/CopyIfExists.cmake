# Copies SOURCE into the folder DESTINATION when SOURCE exists.
if(EXISTS ${SOURCE})
  file(COPY ${SOURCE} DESTINATION ${DESTINATION})
endif()

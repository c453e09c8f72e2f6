// placeholder: the private world of a test lives here

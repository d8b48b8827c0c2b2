drav_talk( context, "Eel pie, fresh this morning, and a tonic for the marsh fever." )
     drav_store( context )
